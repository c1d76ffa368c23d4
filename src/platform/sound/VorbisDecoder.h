// Ogg Vorbis files decoded whole with vorbisfile; more than two channels keep the first two.
#pragma once

#include "platform/sound/LoadResult.h"
#include "platform/sound/Track.h"

class VorbisDecoder {
  public:
    // Fills track with the whole file; OK, or why not.
    static LoadResult decode(const char* name, Track* track);
};
