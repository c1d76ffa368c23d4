// Tracker modules (MOD, S3M, XM, IT, ...) rendered whole with libopenmpt, played once.
#pragma once

#include <vector>

#include "platform/sound/LoadResult.h"
#include "platform/sound/Track.h"

class ModuleRenderer {
  public:
    static const int RATE = 44100;
    // Longest song kept, in seconds: a module that never ends would otherwise fill memory.
    static const int MAX_SECONDS = 1200;

    // Renders the module in data to 44100 Hz stereo at full volume, from its start to its
    // end without repeats; OK, or why not.
    static LoadResult render(const std::vector<unsigned char>& data, Track* track);
};
