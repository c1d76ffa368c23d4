// RIFF WAVE files: integer PCM of 8, 16, 24 or 32 bits or 32-bit float, one or two channels.
#pragma once

#include <vector>

#include "platform/sound/Track.h"

class WavDecoder {
  public:
    // Fills track from the whole file; 0, or the layer's error code.
    static int decode(const char* name, Track* track);
    // The same from bytes in memory. A data chunk longer than the file keeps what is there.
    static int decodeMemory(const std::vector<unsigned char>& data, Track* track);
};
