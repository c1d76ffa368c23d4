// ADSR envelope stepped once per sample.
#include "trackgen/Envelope.h"

Envelope::Envelope(float attack, float decay, float sustain, float release)
    : attackStep(attack > 0.0f ? 1.0f / (attack * dsp::SR) : 1.0f),
      decayCoef(dsp::onePoleCoef(decay)), sustainLevel(sustain),
      releaseCoef(dsp::onePoleCoef(release)) {}

void Envelope::trigger() {
    stage = ATTACK;
}

void Envelope::release() {
    if (stage != IDLE) {
        stage = RELEASE;
    }
}

float Envelope::next() {
    switch (stage) {
    case ATTACK:
        value += attackStep;
        if (value >= 1.0f) {
            value = 1.0f;
            stage = DECAY;
        }
        break;
    case DECAY:
        value += (sustainLevel - value) * decayCoef;
        break;
    case RELEASE:
        value -= value * releaseCoef;
        if (value < 1.0e-4f) {
            value = 0.0f;
            stage = IDLE;
        }
        break;
    case IDLE:
        break;
    }
    return value;
}
