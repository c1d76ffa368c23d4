// Position of the silent output: the steady clock since play, at the track's rate.
#include "platform/sound/SilentOutput.h"

bool SilentOutput::play(const Track* track, int) {
    playing = track != nullptr;
    rate = track ? track->rate : 0;
    started = std::chrono::steady_clock::now();
    return true;
}

long long SilentOutput::audibleFrame() {
    if (!playing) {
        return -1;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now() - started);
    return static_cast<long long>(elapsed.count() * 1e-9 * rate);
}
