// Riser: noise through a band-pass that sweeps up over the note, swelling into the next section.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Riser {
  public:
    void render(const NoteList& notes, StereoBuffer& out) const;

  private:
    void renderNote(const Note& note, unsigned seed, StereoBuffer& out) const;
};
