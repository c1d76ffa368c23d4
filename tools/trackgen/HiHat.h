// Hi-hat: six detuned square waves and noise, high-passed; the note length chooses closed or open.
#pragma once

#include "Note.h"
#include "Dsp.h"
#include "StereoBuffer.h"

class HiHat {
  public:
    void render(const NoteList& hits, StereoBuffer& out) const;

  private:
    void renderHit(const Note& hit, unsigned seed, StereoBuffer& out) const;
};
