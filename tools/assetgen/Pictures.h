// Every picture the demo loads, in one list: file name, how it is made, how it is stored.
#pragma once

#include <string>

#include "FontSet.h"

class Pictures {
  public:
    // Writes every picture into directory; prints a line per file and returns false on the
    // first file that cannot be written.
    static bool writeAll(const std::string& directory, const FontSet& fonts);
};
