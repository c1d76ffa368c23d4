// Riser synthesis.
#include "trackgen/Riser.h"

#include "trackgen/Rng.h"
#include "trackgen/SvFilter.h"

void Riser::render(const NoteList& notes, StereoBuffer& out) const {
    unsigned seed = 0x815Eu;
    for (const Note& note : notes) {
        renderNote(note, seed++, out);
    }
}

void Riser::renderNote(const Note& note, unsigned seed, StereoBuffer& out) const {
    const size_t start = static_cast<size_t>(note.start * dsp::SR + 0.5);
    const int length = static_cast<int>(note.length * dsp::SR);
    Rng rng(seed);
    SvFilter fl;
    SvFilter fr;
    for (int i = 0; i < length; ++i) {
        // Progress 0..1; the cutoff climbs exponentially from 300 Hz to 9.6 kHz.
        const float x = static_cast<float>(i) / static_cast<float>(length);
        if ((i & 31) == 0) {
            const float cutoff = 300.0f * std::exp2(5.0f * x);
            fl.set(cutoff, 2.0f);
            fr.set(cutoff * 1.08f, 2.0f);
        }
        fl.process(rng.bipolar());
        fr.process(rng.bipolar());
        const float amp = x * x * note.velocity;
        out.add(start + i, fl.bp() * amp, fr.bp() * amp);
    }
}
