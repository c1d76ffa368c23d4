// Encodes a stereo float track to a constant-bitrate MP3 file with LAME, with a gapless header.
#pragma once

#include <string>

#include "trackgen/StereoBuffer.h"

class Mp3Writer {
  public:
    // kbps: constant bitrate. Returns false (and prints why) when encoding or writing fails.
    bool write(const StereoBuffer& track, int kbps, const std::string& path) const;
};
