// Bell: two-operator FM with a decaying index, the clear tone that opens the track.
#pragma once

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Bell {
  public:
    void render(const NoteList& notes, StereoBuffer& out) const;

  private:
    void renderNote(const Note& note, StereoBuffer& out) const;
};
