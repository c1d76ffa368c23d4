// The log's clock runs ahead of the recording's by a lag measured at 2.001 to 2.030 s (the
// monitor delivers nothing for its first two seconds): the lag between 1 and 3 s that pairs
// the most underruns with gaps is taken as it.
#include "support/UnderrunPairing.h"

#include <cmath>
#include <cstdio>
#include <cstring>

UnderrunPairing::UnderrunPairing(const std::vector<double>& underrunTimes,
                                 const std::vector<double>& gaps)
    : underruns(underrunTimes), lag(0.0), pairs(0) {
    for (double u : underruns) {
        for (double g : gaps) {
            const double candidate = u - g;
            if (candidate < 1.0 || candidate > 3.0) {
                continue;
            }
            int paired = 0;
            for (double v : underruns) {
                for (double h : gaps) {
                    paired += std::fabs(v - h - candidate) <= 0.005;
                }
            }
            if (paired > pairs) {
                pairs = paired;
                lag = candidate;
            }
        }
    }
}

bool UnderrunPairing::underrunAt(double at) const {
    for (double u : underruns) {
        if (pairs > 0 && std::fabs(u - lag - at) <= 0.030) {
            return true;
        }
    }
    return false;
}

std::vector<double> UnderrunPairing::underrunsInLog(const char* path) {
    std::vector<double> times;
    FILE* f = fopen(path, "r");
    char line[1024];
    while (f && fgets(line, sizeof line, f)) {
        double t = 0.0;
        if (strstr(line, "Implicit underrun") && sscanf(line, " ( %lf", &t) == 1) {
            times.push_back(t);
        }
    }
    if (f) {
        fclose(f);
    }
    return times;
}

std::vector<double> UnderrunPairing::gapsIn(const std::vector<int16_t>& recording, int channels,
                                            long long from, int rate) {
    std::vector<double> gaps;
    const long long frames = static_cast<long long>(recording.size()) / channels;
    long long run = 0;
    for (long long f = from; f < frames; ++f) {
        bool silent = true;
        for (int c = 0; c < channels; ++c) {
            silent = silent && recording[f * channels + c] == 0;
        }
        run = silent ? run + 1 : 0;
        if (run == rate / 500) {
            gaps.push_back(static_cast<double>(f - run + 1) / rate);
        }
    }
    return gaps;
}
