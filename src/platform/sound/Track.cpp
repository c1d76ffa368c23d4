// The mono mix of a decoded track, as the spectrum reads it.
#include "platform/sound/Track.h"

#include <cstddef>

float Track::monoAt(long long frame) const {
    if (frame < 0 || frame >= frames()) {
        return 0.0f;
    }
    const int16_t* f = &samples[static_cast<size_t>(frame * channels)];
    const float scale = 1.0f / 32768.0f;
    if (channels == 1) {
        return f[0] * scale;
    }
    return (f[0] + f[1]) * 0.5f * scale;
}
