// SDL 1.2 on a desktop: buffers long enough that a late wake-up of SDL's audio thread is not
// heard, and the sound server's queue ahead of them as measured for its driver.
#include "platform/sound/DeviceQueue.h"

#include <SDL.h>

#include <cstring>

int DeviceQueue::bufferFrames(int rate) {
    // Below 44.1 kHz sdl12-compat plays the device at 44.1 kHz through a resampling stream that
    // holds part of a buffer back, a part that varies with the rate; with short buffers that is
    // a few milliseconds, with long ones a tenth of a second of error in the position.
    if (rate < 44100) {
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
    char name[32] = "";
    if (!SDL_AudioDriverName(name, sizeof(name))) {
        return 0;
    }
    if (strcmp(name, "pulseaudio") == 0 && rate >= 44100) {
        // The server keeps half the requested latency queued in the stream, refilled a request
        // (20 ms) at a time: measured 190 ms for a 16384-frame buffer at 44.1 kHz (predicted
        // 196), 105 for 8192 (103), 15 for 1024 (14.5). A sink's own latency is not counted:
        // SDL cannot tell it, and the null sink's is under 2 ms.
        return bufferFrames / 2 + rate / 100;
    }
    // The dummy driver plays nothing; others hand a buffer on as they are given it.
    return 0;
}

bool DeviceQueue::decodesOnAThread() {
    return true;
}
