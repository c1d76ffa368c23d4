// Ogg Vorbis files decoded whole with vorbisfile; more than two channels keep the first two.
#pragma once

#include "platform/sound/Track.h"

class VorbisDecoder {
  public:
    // Fills track with the whole file; 0, or the layer's error code.
    static int decode(const char* name, Track* track);
};
