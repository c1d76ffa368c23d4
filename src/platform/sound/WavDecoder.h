// RIFF WAVE files: integer PCM of 8, 16, 24 or 32 bits or 32-bit float, one or two channels.
#pragma once

#include <vector>

#include "platform/sound/LoadResult.h"
#include "platform/sound/Track.h"

class WavDecoder {
  public:
    // Fills track from the whole file; OK, or why not.
    static LoadResult decode(const char* name, Track* track);
    // The same from bytes in memory. A data chunk longer than the file keeps what is there.
    static LoadResult decodeMemory(const std::vector<unsigned char>& data, Track* track);
};
