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
        const int inChannels = current->channels;
        if (volume == FULL_VOLUME && inChannels == channels) {
            current->read(cursor, copied, out);
        } else {
            for (int done = 0; done < copied;) {
                const int n = copied - done < SCRATCH_FRAMES ? copied - done : SCRATCH_FRAMES;
                current->read(cursor + done, n, scratch);
                int16_t* to = out + done * channels;
                for (int f = 0; f < n; ++f) {
                    for (int c = 0; c < channels; ++c) {
                        const int v =
                            scratch[f * inChannels + (c < inChannels ? c : inChannels - 1)];
                        to[f * channels + c] = static_cast<int16_t>(v * volume / FULL_VOLUME);
                    }
                }
                done += n;
            }
        }
        cursor += copied;
    }
    memset(out + copied * channels, 0, sizeof(int16_t) * (frames - copied) * channels);
}
