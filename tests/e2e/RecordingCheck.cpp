// Holds a raw recording of the sound server's monitor against the track as our sound layer
// decodes it, so that no other decoder's rounding stands between them. Given the server's log,
// it also tells whether the first block that differs is where the server underran.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "trackplot/TrackProbe.h"
#include "support/RecordingMatch.h"

namespace {

// Times, in seconds of the server's log, of its "Implicit underrun" lines.
std::vector<double> underrunsIn(const char* log) {
    std::vector<double> times;
    FILE* f = fopen(log, "r");
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

// Starts, in seconds of the recording, of its gaps: 2 ms or more of digital silence after the
// track has begun, which is what a starved stream leaves in the null sink's mix.
std::vector<double> gapsIn(const std::vector<int16_t>& recording, int channels, long long from,
                           int rate) {
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

// The log's clock runs ahead of the recording's by a lag measured at 2.001 to 2.030 s (the
// monitor delivers nothing for its first two seconds): the lag between 1 and 3 s that pairs
// the most underruns with gaps, each within 5 ms. Then whether an underrun lies within 30 ms of
// the first differing block.
bool mismatchAtUnderrun(const std::vector<double>& underruns, const std::vector<double>& gaps,
                        double mismatch) {
    double lag = 0.0;
    int best = 0;
    for (double u : underruns) {
        for (double g : gaps) {
            const double candidate = u - g;
            if (candidate < 1.0 || candidate > 3.0) {
                continue;
            }
            int pairs = 0;
            for (double v : underruns) {
                for (double h : gaps) {
                    pairs += std::fabs(v - h - candidate) <= 0.005;
                }
            }
            if (pairs > best) {
                best = pairs;
                lag = candidate;
            }
        }
    }
    printf("%d underruns, %zu gaps; %d paired at a lag of %.3f s\n",
           static_cast<int>(underruns.size()), gaps.size(), best, lag);
    for (double u : underruns) {
        if (best > 0 && std::fabs(u - lag - mismatch) <= 0.030) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // --within N: samples N apart are the same (a recording of another decoder's output).
    int tolerance = 0;
    if (argc > 2 && strcmp(argv[1], "--within") == 0) {
        tolerance = atoi(argv[2]);
        argv += 2;
        argc -= 2;
    }
    if (argc != 2 && argc != 4 && argc != 5) {
        fprintf(stderr,
                "usage: vq_recording_check TRACK                      (prints RATE CHANNELS)\n"
                "       vq_recording_check [--within N] TRACK RECORDING SECONDS [SERVER_LOG]\n"
                "status 0: the same; 1: different; 3: different first where the server "
                "underran\n");
        return 2;
    }
    TrackProbe probe;
    if (!probe.load(argv[1])) {
        fprintf(stderr, "vq_recording_check: %s does not load\n", argv[1]);
        return 1;
    }
    if (argc == 2) {
        printf("%d %d\n", probe.rate(), probe.channels());
        return 0;
    }
    std::vector<int16_t> recording;
    if (!RecordingMatch::readRaw(argv[2], &recording)) {
        fprintf(stderr, "vq_recording_check: cannot read %s\n", argv[2]);
        return 1;
    }
    const long long span = static_cast<long long>(atof(argv[3]) * probe.rate());
    RecordingMatch match(probe.channels(), probe.rate() / 100, tolerance);
    const bool same = match.compare(probe.samples(), recording, span);
    printf("%s\n", match.report(probe.rate()).c_str());
    if (same || argc != 5 || match.startOffset == RecordingMatch::NONE || match.firstBadBlock < 0) {
        return same ? 0 : 1;
    }
    const int rate = probe.rate();
    const double mismatch =
        static_cast<double>(match.startOffset + match.firstBadBlock * (rate / 100)) / rate;
    const bool atUnderrun =
        mismatchAtUnderrun(underrunsIn(argv[4]),
                           gapsIn(recording, probe.channels(), match.startOffset, rate), mismatch);
    printf("the first differing block, at %.3f s of the recording, is %s\n", mismatch,
           atUnderrun ? "where the server underran" : "not where the server underran");
    return atUnderrun ? 3 : 1;
}
