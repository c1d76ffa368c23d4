// A whole sound decoded into memory: interleaved signed 16-bit frames at one rate.
#pragma once

#include <cstdint>
#include <vector>

class Track {
  public:
    Track() : samples(), rate(0), channels(0) {}

    // Frames held: one sample per channel each.
    long long frames() const {
        return channels > 0 ? static_cast<long long>(samples.size()) / channels : 0;
    }
    // The mono mix (L+R)/2 of one frame, in [-1, 1]; 0 outside the track.
    float monoAt(long long frame) const;

    // A header's length (and rate) is trusted for reserving memory up to this many frames only,
    // twenty minutes at 48 kHz: a damaged or forged header may claim days, and a longer track
    // still grows as it decodes.
    static constexpr long long MOST_FRAMES_RESERVED = 1200LL * 48000;

    std::vector<int16_t> samples; // interleaved, channels per frame
    int rate;                     // frames per second
    int channels;                 // 1 or 2
};
