// trackgen: composes, renders and encodes the demo's soundtrack. Usage: trackgen OUTPUT.mp3
#include <chrono>
#include <cstdio>

#include "Composer.h"
#include "Dsp.h"
#include "Mixdown.h"
#include "Mp3Writer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: trackgen OUTPUT.mp3\n");
        return 2;
    }
    typedef std::chrono::steady_clock Clock;
    const Clock::time_point begin = Clock::now();
    const Score score = Composer().compose();
    // -1.5 dBFS leaves room for the encoder's small overshoot under the -1 dBFS promise.
    const StereoBuffer track = Mixdown().render(score, dsp::dbToGain(-1.5f));
    const Clock::time_point rendered = Clock::now();
    if (!Mp3Writer().write(track, 192, argv[1])) {
        return 1;
    }
    const Clock::time_point done = Clock::now();
    typedef std::chrono::duration<double> Seconds;
    printf("trackgen: %s, %.1f s of audio; render %.2f s, encode %.2f s\n", argv[1],
           static_cast<double>(track.size()) / dsp::SR, Seconds(rendered - begin).count(),
           Seconds(done - rendered).count());
    return 0;
}
