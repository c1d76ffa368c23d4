// SDL 1.2 on a desktop: through a sound server, buffers long enough that a late wake-up of SDL's
// audio thread is not heard, and the server's queue ahead of them as measured.
#include "platform/sound/DeviceQueue.h"

#include <SDL.h>

#include <cstring>

namespace {

// Whether SDL plays through PulseAudio (or PipeWire's server for it), which queues what it is
// handed in the server. Known once the audio subsystem is up.
bool throughSoundServer() {
    char name[32] = "";
    return SDL_AudioDriverName(name, sizeof(name)) && strcmp(name, "pulseaudio") == 0;
}

} // namespace

int DeviceQueue::bufferFrames(int rate) {
    // Elsewhere a longer buffer adds no margin: Windows' drivers and ALSA keep a period or two
    // of their own whatever SDL hands them, and SDL's dummy driver sleeps a buffer at a time.
    // Below 44.1 kHz sdl12-compat plays the device at 44.1 kHz through a resampling stream that
    // holds part of a buffer back, a part that varies with the rate: with long buffers a tenth
    // of a second of error in the position.
    if (!throughSoundServer() || rate < 44100) {
        return shortBufferFrames(rate);
    }
    // About a third of a second. SDL's PulseAudio driver asks the server for a total latency of
    // one buffer, and the server keeps half of it queued: a wake-up up to 150 ms late is still
    // in time. (Buffers of 23 ms underran whenever other programs kept the processors busy.)
    int frames = 1024;
    while (frames < rate / 3 && frames < 32768) {
        frames *= 2;
    }
    return frames;
}

bool DeviceQueue::queuedSeconds(double*) {
    return false;
}

long long DeviceQueue::heldAhead(int bufferFrames, int rate) {
    if (!throughSoundServer() || rate < 44100) {
        // Others hand a buffer on as they are given it.
        return 0;
    }
    // The server keeps half the requested latency queued in the stream, refilled a request at a
    // time (a quarter of it, at most 20 ms): measured 190 ms for a 16384-frame buffer at 44.1
    // kHz (predicted 196), 105 for 8192 (103), 15 for 1024 (14.5). A sink's own latency is not
    // counted: SDL cannot tell it, and the null sink's is under 2 ms.
    const long long request = bufferFrames / 4 < rate / 50 ? bufferFrames / 4 : rate / 50;
    return bufferFrames / 2 + request / 2;
}

bool DeviceQueue::decodesOnAThread() {
    return true;
}
