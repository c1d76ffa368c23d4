// The arithmetic between frames, ticks and slots.
#include "main/FrameClock.h"

#include <cmath>

#include "main/Schedule.h"
#include "platform/ManualTick.h"
#include "platform/Timer.h"

void FrameClock::install() {
    ManualTick::install(0);
}

long long FrameClock::tickOf(long long frame) const {
    return (frame * 1000 + fps / 2) / fps;
}

int FrameClock::slotOfTick(long long tick) {
    // The same arithmetic as the shared timer's elapsed seconds, started at tick 0.
    const float t = Timer::secondsOf(static_cast<int>(tick));
    return Schedule::slotAt(t);
}

long long FrameClock::firstFrameOfSlot(long long frame) const {
    const int slot = slotOfFrame(frame);
    long long first = frame;
    while (first > 0 && slotOfFrame(first - 1) == slot) {
        --first;
    }
    return first;
}

long long FrameClock::lastFrame() const {
    long long frame = frameAt(Schedule::END);
    while (frame > 0 && slotOfFrame(frame) == Schedule::SLOT_COUNT) {
        --frame;
    }
    return frame;
}

long long FrameClock::frameAt(double seconds) const {
    return std::llround(seconds * fps);
}
