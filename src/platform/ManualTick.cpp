// The settable tick behind the Timer's tick source.
#include "platform/ManualTick.h"

#include "platform/Timer.h"

namespace {

// Read by the Timer through a plain function, so it lives here.
long long manualTick = 0;

int readManualTick() {
    return static_cast<int>(manualTick);
}

} // namespace

void ManualTick::install(long long ms) {
    manualTick = ms;
    Timer::setTickSource(&readManualTick);
}

void ManualTick::set(long long ms) {
    manualTick = ms;
}

long long ManualTick::get() {
    return manualTick;
}

void ManualTick::uninstall() {
    Timer::setTickSource(nullptr);
}
