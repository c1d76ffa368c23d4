// Pad: three detuned saws per note spread across the stereo field, slow envelope, soft low-pass.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Pad {
  public:
    void render(const NoteList& notes, StereoBuffer& out) const;

  private:
    // The note's velocity also opens the filter (0.3 dark .. 1 bright).
    void renderNote(const Note& note, unsigned index, StereoBuffer& out) const;
};
