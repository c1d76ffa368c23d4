// Bass: saw plus a sine an octave down through a low-pass whose cutoff plucks on every note.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Bass {
  public:
    // `brightness` scales the filter's peak cutoff (1 = default).
    explicit Bass(float brightness) : bright(brightness) {}
    void render(const NoteList& notes, StereoBuffer& out) const;

  private:
    void renderNote(const Note& note, StereoBuffer& out) const;
    float bright;
};
