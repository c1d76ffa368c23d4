// Kick drum synthesis.
#include "trackgen/Kick.h"

#include "trackgen/Rng.h"

void Kick::render(const NoteList& hits, StereoBuffer& out) const {
    for (const Note& hit : hits) {
        renderHit(hit, out);
    }
}

void Kick::renderHit(const Note& hit, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
    const int length = static_cast<int>(1.0f * dsp::SR);
    // Per-sample multipliers of the pitch sweep, the body and the click.
    const float sweepMul = std::exp(-1.0f / (0.045f * dsp::SR));
    const float bodyMul = std::exp(-1.0f / (0.30f * dsp::SR));
    const float clickMul = std::exp(-1.0f / (0.004f * dsp::SR));
    Rng rng(0x4B1C4u);
    float sweep = 1.0f;
    float body = 1.0f;
    float click = 0.35f;
    float phase = 0.0f;
    for (int i = 0; i < length; ++i) {
        float hz = 50.0f + 180.0f * sweep;
        phase += hz / dsp::SR;
        if (phase >= 1.0f) {
            phase -= 1.0f;
        }
        // A short hold before the decay keeps the punch.
        float amp = i < 400 ? 1.0f : body;
        float v = std::sin(dsp::TWO_PI_F * phase) * amp + rng.bipolar() * click;
        v = dsp::softClip(1.8f * v) * hit.velocity;
        // The last 30 ms fade to zero so the hit ends without a step.
        if (i > length - 1323) {
            v *= static_cast<float>(length - i) / 1323.0f;
        }
        out.add(start + i, v, v);
        sweep *= sweepMul;
        if (i >= 400) {
            body *= bodyMul;
        }
        click *= clickMul;
    }
}
