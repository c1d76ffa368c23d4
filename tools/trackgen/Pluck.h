// Pluck for arpeggios: a bright saw with a fast filter and amplitude decay.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Pluck {
  public:
    void render(const NoteList& notes, StereoBuffer& out) const;

  private:
    void renderNote(const Note& note, unsigned index, StereoBuffer& out) const;
};
