// Bell synthesis.
#include "trackgen/Bell.h"

#include "trackgen/Dsp.h"

void Bell::render(const NoteList& notes, StereoBuffer& out) const {
    for (const Note& note : notes) {
        renderNote(note, out);
    }
}

void Bell::renderNote(const Note& note, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(note.start * dsp::SR + 0.5);
    const float decay = note.length;
    const int length = static_cast<int>(decay * 5.0f * dsp::SR);
    const float hz = dsp::midiToHz(note.pitch);
    const float ampMul = std::exp(-1.0f / (decay * dsp::SR));
    const float indexMul = std::exp(-1.0f / (decay * 0.3f * dsp::SR));
    float amp = 1.0f;
    // A modest index keeps the carrier itself strong from the first sample.
    float index = 1.2f;
    float pc = 0.0f;
    float pm = 0.0f;
    for (int i = 0; i < length; ++i) {
        float m = std::sin(dsp::TWO_PI_F * pm);
        float v = std::sin(dsp::TWO_PI_F * pc + index * m) * amp * note.velocity;
        out.add(start + i, v, v * 0.9f);
        pc += hz / dsp::SR;
        pm += hz * 3.5f / dsp::SR;
        pc -= std::floor(pc);
        pm -= std::floor(pm);
        amp *= ampMul;
        index *= indexMul;
    }
}
