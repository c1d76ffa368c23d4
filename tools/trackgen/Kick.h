// Kick drum: a sine whose pitch falls from a punchy 230 Hz into a 50 Hz body, with a click.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Kick {
  public:
    void render(const NoteList& hits, StereoBuffer& out) const;

  private:
    void renderHit(const Note& hit, StereoBuffer& out) const;
};
