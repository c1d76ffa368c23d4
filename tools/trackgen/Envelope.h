// ADSR envelope stepped once per sample: linear attack, exponential decay and release.
#pragma once

#include "trackgen/Dsp.h"

class Envelope {
  public:
    Envelope(float attack, float decay, float sustain, float release);

    // Gate on at the current sample.
    void trigger();
    // Gate off: release from wherever the envelope stands.
    void release();
    float next();
    bool finished() const { return stage == IDLE; }

  private:
    enum Stage { IDLE, ATTACK, DECAY, RELEASE };

    float attackStep;
    float decayCoef;
    float sustainLevel;
    float releaseCoef;
    float value = 0.0f;
    Stage stage = IDLE;
};
