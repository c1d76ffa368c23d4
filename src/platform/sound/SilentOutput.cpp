// Position of the silent output: the steady clock since play or the last seek, at the track's rate.
#include "platform/sound/SilentOutput.h"

bool SilentOutput::play(const Track* track, int) {
    playing = track != nullptr;
    held = false;
    rate = track ? track->rate : 0;
    offset = 0;
    started = std::chrono::steady_clock::now();
    return true;
}

void SilentOutput::seek(long long frame, bool paused) {
    held = paused;
    offset = frame;
    started = std::chrono::steady_clock::now();
}

long long SilentOutput::audibleFrame() {
    if (!playing) {
        return -1;
    }
    if (held) {
        return offset;
    }
    const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now() - started);
    return offset + static_cast<long long>(elapsed.count() * 1e-9 * rate);
}
