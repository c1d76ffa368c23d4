// Copying decoded frames out to the device, at the volume.
#include "platform/sound/Playback.h"

#include <cstring>

void Playback::start(const Track* track, FrameRing* frames) {
    current = track;
    ring = track ? frames : nullptr;
}

int Playback::fill(int16_t* out, int frames, int channels) {
    int copied = 0;
    const int volume = level.load(std::memory_order_relaxed);
    if (ring) {
        const int inChannels = current->channels;
        if (volume == FULL_VOLUME && inChannels == channels) {
            copied = static_cast<int>(ring->take(out, frames));
        } else {
            while (copied < frames) {
                const int want =
                    frames - copied < SCRATCH_FRAMES ? frames - copied : SCRATCH_FRAMES;
                const int n = static_cast<int>(ring->take(scratch, want));
                int16_t* to = out + copied * channels;
                for (int f = 0; f < n; ++f) {
                    for (int c = 0; c < channels; ++c) {
                        const int v =
                            scratch[f * inChannels + (c < inChannels ? c : inChannels - 1)];
                        to[f * channels + c] = static_cast<int16_t>(v * volume / FULL_VOLUME);
                    }
                }
                copied += n;
                if (n < want) {
                    break;
                }
            }
        }
    }
    memset(out + copied * channels, 0, sizeof(int16_t) * (frames - copied) * channels);
    const bool ended = !ring || ring->nextTaken() >= current->frames();
    return ended ? frames : copied;
}
