// Whether a recording of the sound server differs first where the server itself underran: the
// server's log and the recording keep clocks apart, brought together by pairing the log's
// underruns with the recording's gaps.
#pragma once

#include <cstdint>
#include <vector>

class UnderrunPairing {
  public:
    // Underruns in seconds of the server's log, gaps in seconds of the recording.
    UnderrunPairing(const std::vector<double>& underruns, const std::vector<double>& gaps);

    // Whether an underrun lies within 30 ms of the recording's second `at`; never when no
    // underrun pairs with a gap.
    bool underrunAt(double at) const;

    // Times of the "Implicit underrun" lines of a PulseAudio log written with --log-time.
    static std::vector<double> underrunsInLog(const char* path);
    // Starts of the gaps in interleaved frames from frame `from` on: 2 ms or more of digital
    // silence, which is what a starved stream leaves in the null sink's mix.
    static std::vector<double> gapsIn(const std::vector<int16_t>& recording, int channels,
                                      long long from, int rate);

    std::vector<double> underruns;
    double lag; // seconds the log's clock runs ahead of the recording's
    int pairs;  // underruns within 5 ms of a gap at that lag
};
