// Hann-windowed real FFT of the mono mix, scaled so that a full-scale sine reads 1.0.
#include "platform/sound/FrequencyAnalyser.h"

#include <cmath>

FrequencyAnalyser::FrequencyAnalyser()
    : config(kiss_fftr_alloc(WINDOW, 0, nullptr, nullptr)), window(), scale(0.0f), input(), bins(),
      read() {
    double sum = 0.0;
    for (int i = 0; i < WINDOW; ++i) {
        // The periodic Hann window: its sum is exactly WINDOW / 2.
        window[i] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * M_PI * i / WINDOW));
        sum += window[i];
    }
    scale = static_cast<float>(2.0 / sum);
}

FrequencyAnalyser::~FrequencyAnalyser() {
    kiss_fftr_free(config);
}

void FrequencyAnalyser::compute(const Track& track, long long end, float gain, float* out) {
    // Frames outside the track read as silence.
    track.read(end - WINDOW, WINDOW, read);
    compute(read, track.channels, gain, out);
}

void FrequencyAnalyser::compute(const int16_t* frames, int channels, float gain, float* out) {
    // The mono mix (L+R)/2 in [-1, 1].
    const float unit = 1.0f / 32768.0f;
    for (int i = 0; i < WINDOW; ++i) {
        const float mono =
            channels == 1 ? frames[i] * unit : (frames[2 * i] + frames[2 * i + 1]) * 0.5f * unit;
        input[i] = mono * gain * window[i];
    }
    kiss_fftr(config, input, bins);
    for (int k = 0; k < BANDS; ++k) {
        const kiss_fft_cpx& b = bins[k + 1];
        const float magnitude = std::sqrt(b.r * b.r + b.i * b.i) * scale;
        out[k] = magnitude < 1.0f ? magnitude : 1.0f;
    }
}
