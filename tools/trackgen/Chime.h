// Chime: FM with a 110 Hz modulator on a 2.2 kHz carrier; its sidebands fill 1.7-2.7 kHz evenly,
// a bright metallic tick that marks the beat. Every hit is the same sound, made once per decay.
#pragma once

#include <vector>

#include "Dsp.h"
#include "Note.h"
#include "StereoBuffer.h"

class Chime {
  public:
    // length = decay in seconds, pitch = pan.
    void render(const NoteList& hits, StereoBuffer& out) const;

  private:
    std::vector<float> synthesise(float decay) const;
};
