// SDL 1.2 on a desktop: its devices hold one buffer at a time and say nothing of it.
#include "platform/sound/DeviceQueue.h"

bool DeviceQueue::queuedSeconds(double*) {
    return false;
}
