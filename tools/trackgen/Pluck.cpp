// Pluck synthesis.
#include "trackgen/Pluck.h"

#include "trackgen/Oscillator.h"
#include "trackgen/SvFilter.h"

void Pluck::render(const NoteList& notes, StereoBuffer& out) const {
    unsigned index = 0;
    for (const Note& note : notes) {
        renderNote(note, index++, out);
    }
}

void Pluck::renderNote(const Note& note, unsigned index, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(note.start * dsp::SR + 0.5);
    const float decay = note.length;
    const int length = static_cast<int>(decay * 5.0f * dsp::SR);
    const float hz = dsp::midiToHz(note.pitch);
    Oscillator saw;
    saw.setFrequency(hz);
    SvFilter filter;
    const float ampMul = std::exp(-1.0f / (decay * dsp::SR));
    const float cutMul = std::exp(-1.0f / (0.06f * dsp::SR));
    float amp = 1.0f;
    float cut = 1.0f;
    // Alternate notes lean left and right.
    const Pan pan((index & 1) ? 0.35f : -0.35f);
    for (int i = 0; i < length; ++i) {
        if ((i & 15) == 0) {
            filter.set(hz * 1.5f + 7000.0f * cut, 0.9f);
        }
        filter.process(saw.saw());
        float v = filter.lp() * amp * note.velocity;
        out.add(start + i, v * pan.l, v * pan.r);
        amp *= ampMul;
        cut *= cutMul;
    }
}
