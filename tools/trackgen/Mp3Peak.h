// Decodes an MP3 file and reports its highest sample magnitude, to catch the encoder's overshoot.
#pragma once

#include <string>

class Mp3Peak {
  public:
    // Largest |sample| of the decoded file (1.0 = full scale), or a negative value on failure.
    float measure(const std::string& path) const;
};
