// Picks the decoder for a file by its first bytes, not its name.
#pragma once

#include "platform/sound/Track.h"

class TrackLoader {
  public:
    // A sample: Ogg Vorbis, WAV, otherwise MP3. 0, or the layer's error code.
    static int loadSample(const char* name, Track* track);
    // A song: a MIDI file, otherwise a tracker module. 0, or the layer's error code.
    static int loadSong(const char* name, Track* track);
};
