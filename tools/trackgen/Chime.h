// Chime: FM on a carrier near 2.2 kHz, modulated at the note's own frequency, so that its
// sidebands, all harmonics of that note, fill 1.7-2.7 kHz evenly: a bright metallic tick on the
// beat that stays in tune with the chord. Each note and decay is made once, then replayed.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Chime {
  public:
    // length = decay in seconds, pitch = the modulator's note; hits alternate left and right.
    void render(const NoteList& hits, StereoBuffer& out) const;

  private:
    std::vector<float> synthesise(float decay, float pitch) const;
};
