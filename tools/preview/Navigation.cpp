// Seeks by seconds, by frames and by scenes on the clock's grid.
#include "preview/Navigation.h"

#include "main/Schedule.h"

long long Navigation::clamp(long long frame) const {
    const long long last = clock.lastFrame();
    return frame < 0 ? 0 : (frame > last ? last : frame);
}

long long Navigation::by(long long tick, long long ms) const {
    return clamp(clock.frameAt((tick + ms) * 0.001));
}

long long Navigation::step(long long tick, int direction) const {
    long long frame = clock.frameAt(tick * 0.001);
    if (direction > 0) {
        while (clock.tickOf(frame) <= tick) {
            ++frame;
        }
    } else {
        while (frame > 0 && clock.tickOf(frame) >= tick) {
            --frame;
        }
    }
    return clamp(frame);
}

long long Navigation::startOf(int slot) const {
    long long frame = clock.frameAt(Schedule::slots[slot].start);
    while (frame > 0 && clock.slotOfFrame(frame - 1) >= slot) {
        --frame;
    }
    while (clock.slotOfFrame(frame) < slot) {
        ++frame;
    }
    return frame;
}

long long Navigation::previousScene(long long tick) const {
    const int slot = FrameClock::slotOfTick(tick);
    return slot > 0 ? startOf(slot - 1) : 0;
}

long long Navigation::nextScene(long long tick) const {
    const int slot = FrameClock::slotOfTick(tick);
    return slot + 1 < Schedule::SLOT_COUNT ? startOf(slot + 1) : -1;
}
