// Sparkle synthesis.
#include "trackgen/Sparkle.h"

#include <cmath>

double Sparkle::barHz(int bar) {
    return (10.0 * bar + 1.0) * dsp::SAMPLE_RATE / FFT_SIZE;
}

void Sparkle::render(const NoteList& hits, StereoBuffer& out) const {
    std::vector<float> table(FFT_SIZE);
    for (int i = 0; i < FFT_SIZE; ++i) {
        table[i] = static_cast<float>(std::sin(2.0 * M_PI * i / FFT_SIZE));
    }
    std::map<std::pair<int, float>, std::vector<float>> takes;
    for (const Note& hit : hits) {
        const int bar = static_cast<int>(std::lround(hit.pitch));
        if (bar < 0 || bar >= BARS) {
            continue;
        }
        std::vector<float>& take = takes[std::make_pair(bar, hit.length)];
        if (take.empty()) {
            take = synthesise(bar, hit.length, table);
        }
        const size_t start = static_cast<size_t>(hit.start * dsp::SR + 0.5);
        for (size_t i = 0; i < take.size(); ++i) {
            const float v = take[i] * hit.velocity;
            out.add(start + i, v, v);
        }
    }
}

std::vector<float> Sparkle::synthesise(int bar, float decay,
                                       const std::vector<float>& table) const {
    const int cycles = 10 * bar + 1; // per FFT_SIZE samples
    const int rise = static_cast<int>(0.002f * dsp::SR);
    const int hold = rise + static_cast<int>(0.5f * decay * dsp::SR);
    const int length = static_cast<int>(decay * 6.0f * dsp::SR) + hold;
    // The last time constant fades to zero so that the tail ends without a step.
    const int fadeFrom = length - static_cast<int>(decay * dsp::SR);
    const float ampMul = std::exp(-1.0f / (decay * dsp::SR));
    std::vector<float> take(length);
    float amp = 1.0f;
    for (int i = 0; i < length; ++i) {
        float env = amp;
        if (i < rise) {
            // A raised-cosine rise of 2 ms: no click, and the ping still starts on its step.
            env *= 0.5f - 0.5f * std::cos(dsp::PI_F * static_cast<float>(i) / rise);
        } else if (i >= hold) {
            amp *= ampMul;
        }
        if (i > fadeFrom) {
            env *= static_cast<float>(length - i) / static_cast<float>(length - fadeFrom);
        }
        take[i] = table[(static_cast<long long>(i) * cycles) % FFT_SIZE] * env;
    }
    return take;
}
