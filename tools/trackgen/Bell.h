// Bell: two-operator FM with a decaying index, the clear tone that opens the track.
#pragma once

#include "Note.h"
#include "Dsp.h"
#include "StereoBuffer.h"

class Bell {
  public:
    void render(const NoteList& notes, StereoBuffer& out) const;

  private:
    void renderNote(const Note& note, StereoBuffer& out) const;
};
