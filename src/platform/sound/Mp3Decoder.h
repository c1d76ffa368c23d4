// MP3 (and MP2) files decoded whole with libmpg123, gapless, keeping the file's channels and rate.
#pragma once

#include "platform/sound/LoadResult.h"
#include "platform/sound/Track.h"

class Mp3Decoder {
  public:
    // Fills track with the whole file; OK, or why not. A file cut short keeps
    // what decodes; a file with no decodable frame is an unknown format.
    static LoadResult decode(const char* name, Track* track);
};
