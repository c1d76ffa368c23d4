// Holds a raw recording of the sound server's monitor against the track as our sound layer
// decodes it, so that no other decoder's rounding stands between them. Given the server's log,
// it also tells whether the first block that differs is where the server underran.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/RecordingMatch.h"
#include "support/UnderrunPairing.h"
#include "trackplot/TrackProbe.h"

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
    const std::vector<double> gaps =
        UnderrunPairing::gapsIn(recording, probe.channels(), match.startOffset, rate);
    const UnderrunPairing pairing(UnderrunPairing::underrunsInLog(argv[4]), gaps);
    printf("%d underruns, %zu gaps; %d paired at a lag of %.3f s\n",
           static_cast<int>(pairing.underruns.size()), gaps.size(), pairing.pairs, pairing.lag);
    const bool atUnderrun = pairing.underrunAt(mismatch);
    printf("the first differing block, at %.3f s of the recording, is %s\n", mismatch,
           atUnderrun ? "where the server underran" : "not where the server underran");
    return atUnderrun ? 3 : 1;
}
