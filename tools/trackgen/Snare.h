// Snare and clap: a tuned body plus band-passed noise; the clap repeats its noise attack.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Snare {
  public:
    // pitch 0 plays a snare, 1 a clap.
    void render(const NoteList& hits, StereoBuffer& out) const;

  private:
    void renderSnare(const Note& hit, unsigned seed, StereoBuffer& out) const;
    void renderClap(const Note& hit, unsigned seed, StereoBuffer& out) const;
};
