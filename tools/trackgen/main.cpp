// trackgen: composes, renders and encodes the demo's soundtrack. Usage: trackgen OUTPUT.mp3
#include <chrono>
#include <cmath>
#include <cstdio>

#include "trackgen/Composer.h"
#include "trackgen/Dsp.h"
#include "trackgen/Mixdown.h"
#include "trackgen/Mp3Peak.h"
#include "trackgen/Mp3Writer.h"

namespace {

// Peaks of the decoded file stay at or below -1 dBFS; we aim a little lower for rounding.
const float PEAK_LIMIT_DB = -1.1f;
// The mix is limited further down: the encoder overshoots by up to about 2 dB.
const float MIX_CEILING_DB = -2.9f;

void scale(StereoBuffer& track, float gain) {
    for (size_t i = 0; i < track.size(); ++i) {
        track.left[i] *= gain;
        track.right[i] *= gain;
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: trackgen OUTPUT.mp3\n");
        return 2;
    }
    typedef std::chrono::steady_clock Clock;
    typedef std::chrono::duration<double> Seconds;
    const Clock::time_point begin = Clock::now();
    const Score score = Composer().compose();
    StereoBuffer track = Mixdown().render(score, dsp::dbToGain(MIX_CEILING_DB));
    const Clock::time_point rendered = Clock::now();
    // Encode, decode, and if the encoder overshot the limit, turn the mix down by the excess.
    const float limit = dsp::dbToGain(PEAK_LIMIT_DB);
    float peak = 0.0f;
    for (int pass = 0; pass < 4; ++pass) {
        if (!Mp3Writer().write(track, 192, argv[1])) {
            return 1;
        }
        peak = Mp3Peak().measure(argv[1]);
        if (peak < 0.0f) {
            fprintf(stderr, "trackgen: cannot decode %s to check it\n", argv[1]);
            return 1;
        }
        printf("trackgen: pass %d, peak %.2f dBFS\n", pass + 1, 20.0 * std::log10(peak));
        if (peak <= limit) {
            break;
        }
        scale(track, limit / peak * 0.98f);
    }
    if (peak > limit) {
        fprintf(stderr, "trackgen: peaks stay at %.2f dBFS\n", 20.0 * std::log10(peak));
        remove(argv[1]);
        return 1;
    }
    const Clock::time_point done = Clock::now();
    printf("trackgen: %s, %.1f s of audio, peak %.2f dBFS; render %.2f s, encode %.2f s\n", argv[1],
           static_cast<double>(track.size()) / dsp::SR, 20.0 * std::log10(peak),
           Seconds(rendered - begin).count(), Seconds(done - rendered).count());
    return 0;
}
