// Lead synthesis.
#include "trackgen/Lead.h"

#include "trackgen/Envelope.h"
#include "trackgen/Oscillator.h"
#include "trackgen/SvFilter.h"

void Lead::render(const NoteList& notes, StereoBuffer& out) const {
    for (const Note& note : notes) {
        renderNote(note, out);
    }
}

void Lead::renderNote(const Note& note, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(note.start * dsp::SR + 0.5);
    const int gate = static_cast<int>(note.length * dsp::SR);
    const float hz = dsp::midiToHz(note.pitch);
    Oscillator a;
    Oscillator b;
    Oscillator c;
    Envelope amp(0.008f, 0.3f, 0.7f, 0.12f);
    amp.trigger();
    SvFilter filter;
    const float cutMul = std::exp(-1.0f / (0.25f * dsp::SR));
    float cut = 1.0f;
    // The note sounds until its release has died away.
    for (int i = 0; i <= gate || !amp.finished(); ++i) {
        if (i == gate) {
            amp.release();
        }
        if ((i & 15) == 0) {
            float t = static_cast<float>(i) / dsp::SR;
            float depth =
                t > 0.25f ? 0.004f * (t - 0.25f < 0.5f ? (t - 0.25f) * 2.0f : 1.0f) : 0.0f;
            float vib = 1.0f + depth * std::sin(dsp::TWO_PI_F * 5.5f * t);
            a.setFrequency(hz * 0.997f * vib);
            b.setFrequency(hz * 1.003f * vib);
            c.setFrequency(hz * 2.0f * vib);
            filter.set(hz * 6.0f + 7000.0f * cut, 1.2f);
        }
        filter.process(a.saw() + b.saw() + 0.35f * c.square());
        float v = filter.lp() * amp.next() * note.velocity * 0.4f;
        out.add(start + i, v * 0.95f, v);
        cut *= cutMul;
    }
}
