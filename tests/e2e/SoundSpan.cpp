// vq_sound_span: a video's decoded sound held against the track's own samples for its span, as
// our sound layer decodes them. Prints the frames decoded and whether they are the span's very
// samples, then over the span the difference's RMS relative to the track's, at the span's place
// and one video frame either side of it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "support/RecordingMatch.h"
#include "trackplot/TrackProbe.h"

namespace {

// The track's sample, silence outside it.
int trackSample(const std::vector<int16_t>& track, long long index) {
    return index >= 0 && index < static_cast<long long>(track.size()) ? track[index] : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        fprintf(stderr, "usage: vq_sound_span TRACK DECODED.s16le FIRST_FRAME FRAMES FPS\n");
        return 2;
    }
    TrackProbe probe;
    if (!probe.load(argv[1])) {
        fprintf(stderr, "vq_sound_span: %s does not load\n", argv[1]);
        return 1;
    }
    std::vector<int16_t> decoded;
    if (!RecordingMatch::readRaw(argv[2], &decoded)) {
        fprintf(stderr, "vq_sound_span: cannot read %s\n", argv[2]);
        return 1;
    }
    const int channels = probe.channels();
    const long long first = atoll(argv[3]) * channels;
    const size_t span = std::min(decoded.size(), static_cast<size_t>(atoll(argv[4]) * channels));
    const long long frameShift = static_cast<long long>(probe.rate() / atof(argv[5])) * channels;
    const std::vector<int16_t>& track = probe.samples();
    bool exact = decoded.size() == static_cast<size_t>(atoll(argv[4]) * channels);
    double power = 0.0;
    for (size_t i = 0; i < span; ++i) {
        const int t = trackSample(track, first + static_cast<long long>(i));
        exact = exact && decoded[i] == t;
        power += double(t) * t;
    }
    printf("frames %zu exact %s\n", decoded.size() / channels, exact ? "yes" : "no");
    for (long long shift : {-frameShift, 0LL, frameShift}) {
        double error = 0.0;
        for (size_t i = 0; i < span; ++i) {
            const double d = decoded[i] - trackSample(track, first + shift + long(i));
            error += d * d;
        }
        printf("shift %lld error %.4f\n", shift / channels,
               power > 0.0 ? std::sqrt(error / power) : 0.0);
    }
    return 0;
}
