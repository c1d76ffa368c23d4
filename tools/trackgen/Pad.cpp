// Pad synthesis.
#include "trackgen/Pad.h"

#include "trackgen/Envelope.h"
#include "trackgen/Oscillator.h"
#include "trackgen/SvFilter.h"

void Pad::render(const NoteList& notes, StereoBuffer& out) const {
    unsigned index = 0;
    for (const Note& note : notes) {
        renderNote(note, index++, out);
    }
}

void Pad::renderNote(const Note& note, unsigned index, StereoBuffer& out) const {
    static const float DETUNE[3] = {-0.11f, 0.0f, 0.12f}; // semitones
    static const float PANS[3] = {-0.7f, 0.0f, 0.7f};
    const size_t start = static_cast<size_t>(note.start * dsp::SR + 0.5);
    const int gate = static_cast<int>(note.length * dsp::SR);
    Oscillator osc[3];
    float panL[3];
    float panR[3];
    for (int k = 0; k < 3; ++k) {
        panL[k] = Pan(PANS[k]).l;
        panR[k] = Pan(PANS[k]).r;
        osc[k].setFrequency(dsp::midiToHz(note.pitch + DETUNE[k]));
        osc[k].setPhase(0.37f * static_cast<float>(index * 3 + k));
    }
    // The opening chord of the track must sound at once; later chords swell in.
    Envelope amp(note.start < 0.01 ? 0.0f : 0.25f, 1.5f, 0.8f, 0.4f);
    amp.trigger();
    SvFilter fl;
    SvFilter fr;
    const float cutoff = 600.0f + 8000.0f * note.velocity * note.velocity;
    // The note sounds until its release has died away.
    for (int i = 0; i <= gate || !amp.finished(); ++i) {
        if (i == gate) {
            amp.release();
        }
        if ((i & 31) == 0) {
            // A slow sweep keeps the pad breathing within the bar.
            float lfo =
                1.0f + 0.25f * std::sin(static_cast<float>(i) * (dsp::TWO_PI_F * 0.25f / dsp::SR));
            fl.set(cutoff * lfo, 0.8f);
            fr.set(cutoff * lfo * 1.05f, 0.8f);
        }
        const float s0 = osc[0].saw();
        const float s1 = osc[1].saw();
        const float s2 = osc[2].saw();
        const float l = s0 * panL[0] + s1 * panL[1] + s2 * panL[2];
        const float r = s0 * panR[0] + s1 * panR[1] + s2 * panR[2];
        float e = amp.next() * 0.3f;
        fl.process(l);
        fr.process(r);
        out.add(start + i, fl.lp() * e, fr.lp() * e);
    }
}
