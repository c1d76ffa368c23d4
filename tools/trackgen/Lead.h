// Lead: two detuned saws and a square an octave up, filter envelope and delayed vibrato.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Lead {
  public:
    void render(const NoteList& notes, StereoBuffer& out) const;

  private:
    void renderNote(const Note& note, StereoBuffer& out) const;
};
