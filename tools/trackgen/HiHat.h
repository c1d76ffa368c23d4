// Hi-hat: six detuned square waves and noise, high-passed; the note length is the decay, so it
// chooses closed or open. Each decay is synthesised a few times (round robin) and then replayed.
#pragma once

#include <vector>

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class HiHat {
  public:
    void render(const NoteList& hits, StereoBuffer& out) const;

  private:
    static const int VARIANTS = 4;
    // One hit at full velocity, mono.
    std::vector<float> synthesise(float decay, unsigned seed) const;
};
