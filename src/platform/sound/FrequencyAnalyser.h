// Magnitude spectrum of the 1024 frames that end at a position of a track.
#pragma once

#include <kiss_fftr.h>

#include <cstdint>

#include "platform/sound/Track.h"

class FrequencyAnalyser {
  public:
    static const int WINDOW = 1024; // frames analysed
    static const int BANDS = 512;   // entries written: FFT bins 1 to 512, up to half the rate

    FrequencyAnalyser();
    ~FrequencyAnalyser();

    FrequencyAnalyser(const FrequencyAnalyser&) = delete;
    FrequencyAnalyser& operator=(const FrequencyAnalyser&) = delete;

    // Writes BANDS magnitudes of the mono mix of frames [end - 1024, end) of track, scaled by
    // gain, into out: a full-scale sine reads 1.0 in its bin; every value is in [0, 1].
    // Frames outside the track count as silence.
    void compute(const Track& track, long long end, float gain, float* out);
    // The same for the WINDOW frames of the given channels in frames, as read from a track.
    void compute(const int16_t* frames, int channels, float gain, float* out);

  private:
    kiss_fftr_cfg config;
    float window[WINDOW]; // Hann
    float scale;          // 2 / sum of the window
    kiss_fft_scalar input[WINDOW];
    kiss_fft_cpx bins[WINDOW / 2 + 1];
    int16_t read[WINDOW * 2]; // the track's frames analysed, as read
};
