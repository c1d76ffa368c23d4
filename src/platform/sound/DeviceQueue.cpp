// SDL 1.2's devices hold one buffer at a time and say nothing of it.
#include "platform/sound/DeviceQueue.h"

bool DeviceQueue::queuedSeconds(double*) {
    return false;
}
