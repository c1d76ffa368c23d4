// Copying decoded frames out to the device, at the volume.
#include "platform/sound/Playback.h"

#include <cstring>

void Playback::start(const Track* track) {
    current = track;
    cursor = 0;
}

void Playback::fill(int16_t* out, int frames, int channels) {
    const long long left = current ? current->frames() - cursor : 0;
    const int copied = static_cast<int>(left < frames ? (left > 0 ? left : 0) : frames);
    const int volume = level.load(std::memory_order_relaxed);
    if (copied > 0) {
        const int16_t* in = &current->samples[static_cast<size_t>(cursor * current->channels)];
        const int inChannels = current->channels;
        if (volume == FULL_VOLUME && inChannels == channels) {
            memcpy(out, in, sizeof(int16_t) * copied * channels);
        } else {
            for (int f = 0; f < copied; ++f) {
                for (int c = 0; c < channels; ++c) {
                    const int v = in[f * inChannels + (c < inChannels ? c : inChannels - 1)];
                    out[f * channels + c] = static_cast<int16_t>(v * volume / FULL_VOLUME);
                }
            }
        }
        cursor += copied;
    }
    memset(out + copied * channels, 0, sizeof(int16_t) * (frames - copied) * channels);
}
