// Bass synthesis.
#include "trackgen/Bass.h"

#include "trackgen/Envelope.h"
#include "trackgen/Oscillator.h"
#include "trackgen/SvFilter.h"

void Bass::render(const NoteList& notes, StereoBuffer& out) const {
    for (const Note& note : notes) {
        renderNote(note, out);
    }
}

void Bass::renderNote(const Note& note, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(note.start * dsp::SR + 0.5);
    const int gate = static_cast<int>(note.length * dsp::SR);
    const float hz = dsp::midiToHz(note.pitch);
    Oscillator saw;
    Oscillator sub;
    saw.setFrequency(hz);
    sub.setFrequency(hz * 0.5f);
    Envelope amp(0.003f, 0.25f, 0.75f, 0.02f);
    amp.trigger();
    SvFilter filter;
    const float cutMul = std::exp(-1.0f / (0.09f * dsp::SR));
    float cut = 1.0f;
    // The note sounds until its release has died away.
    for (int i = 0; i <= gate || !amp.finished(); ++i) {
        if (i == gate) {
            amp.release();
        }
        if ((i & 15) == 0) {
            filter.set(hz * 2.0f + 1400.0f * bright * cut * note.velocity, 1.1f);
        }
        filter.process(saw.saw() * 0.7f + sub.sine() * 0.6f);
        float v = filter.lp() * amp.next() * note.velocity;
        out.add(start + i, v, v);
        cut *= cutMul;
    }
}
