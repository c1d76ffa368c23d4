// Picks the decoder for a file by its first bytes, not its name.
#pragma once

#include "platform/sound/LoadResult.h"
#include "platform/sound/Track.h"

class TrackLoader {
  public:
    // A sample: Ogg Vorbis, WAV, otherwise MP3. OK, or why not.
    static LoadResult loadSample(const char* name, Track* track);
    // A song: a MIDI file, otherwise a tracker module. OK, or why not.
    static LoadResult loadSong(const char* name, Track* track);
};
