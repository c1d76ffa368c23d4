// Standard MIDI files rendered whole with FluidSynth and Debian's small GM soundfont.
#pragma once

#include <vector>

#include "platform/sound/LoadResult.h"
#include "platform/sound/Track.h"

class MidiRenderer {
  public:
    static const int RATE = 44100;
    static const int MAX_SECONDS = 1200;
    // The General MIDI soundfont of the timgm6mb-soundfont package.
    static const char* const SOUNDFONT;

    // Whether data holds a MIDI file whose chunks all lie inside it.
    static bool isMidi(const std::vector<unsigned char>& data);
    // Renders the song to 44100 Hz stereo until its last event has sounded out; OK, or why
    // not.
    static LoadResult render(const std::vector<unsigned char>& data, Track* track);
};
