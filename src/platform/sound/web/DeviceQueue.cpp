// The browser's SDL queues several buffers ahead on the page's audio clock (about 0.17 s): what
// is heard is what was handed over less what that clock has still to play.
#include "platform/sound/DeviceQueue.h"

#include <emscripten.h>

int DeviceQueue::bufferFrames(int rate) {
    // The page's SDL keeps its own queue of several of them.
    return shortBufferFrames(rate);
}

bool DeviceQueue::queuedSeconds(double* seconds) {
    const double queued = EM_ASM_DOUBLE({
        if (typeof SDL == 'undefined' || !SDL.audio || !SDL.audioContext || !SDL.audio.nextPlayTime)
            return -1;
        return Math.max(0, SDL.audio.nextPlayTime - SDL.audioContext.currentTime);
    });
    if (queued < 0.0) {
        return false;
    }
    *seconds = queued;
    return true;
}

long long DeviceQueue::heldAhead(int, int) {
    return 0;
}

bool DeviceQueue::decodesOnAThread() {
    // A page runs no threads of the program's own; the callback runs on its one thread too.
    return false;
}
