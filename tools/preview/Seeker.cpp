// Exact seeks by the catch-up rule, frames of play, and scenes made anew where a run has them new.
#include "Seeker.h"

#include <GL/gl.h>

#include <chrono>

#include "UnseenFrames.h"
#include "main/Timeline.h"
#include "platform/sound/SoundSeams.h"

Seeker::Seeker(Timeline* timeline, const FrameClock& clock, int rate)
    : clock(clock), timeline(timeline), rate(rate), catchUp(), used(), slotDrawn(-1),
      drawnBySeek(0), targetDrawMs(0.0) {}

bool Seeker::seekTo(long long target) {
    const int slot = clock.slotOfFrame(target);
    const long long slotStart = clock.firstFrameOfSlot(target);
    const long long first = catchUp.firstToDraw(slotStart, target);
    drawnBySeek = target + 1 - first;
    if (first > target) {
        return false;
    }
    if (first == slotStart && used[slot]) {
        remake(slot);
    }
    {
        const UnseenFrames unseen;
        for (long long frame = first; frame < target; ++frame) {
            soundlayer::seekOutput(clock.soundFrameOf(frame, rate), true);
            draw(clock.tickOf(frame));
            catchUp.drew(frame);
            // Without a swap llvmpipe keeps every frame's commands until a flush.
            glFlush();
        }
    }
    soundlayer::seekOutput(clock.soundFrameOf(target, rate), true);
    const auto begin = std::chrono::steady_clock::now();
    draw(clock.tickOf(target));
    glFinish();
    targetDrawMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    catchUp.drew(target);
    return true;
}

void Seeker::drawAt(long long tick) {
    const int slot = FrameClock::slotOfTick(tick);
    if (slot != slotDrawn && slot < Schedule::SLOT_COUNT && used[slot]) {
        remake(slot);
    }
    draw(tick);
    catchUp.forget();
}

void Seeker::remakeAll() {
    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
        remake(slot);
    }
    catchUp.forget();
    slotDrawn = -1;
}

void Seeker::remake(int slot) {
    // At the tick start-up had: the tunnels' clocks count from it, never restarted.
    const long long tick = FrameClock::tick();
    FrameClock::setTick(0);
    Timer::update();
    timeline->remakeScene(slot);
    used[slot] = false;
    FrameClock::setTick(tick);
}

void Seeker::draw(long long tick) {
    FrameClock::setTick(tick);
    Timer::update();
    const int slot = Schedule::slotAt(timeline->timer->getElapsedTime());
    if (slot == Schedule::SLOT_COUNT) {
        return;
    }
    timeline->renderSlot(slot);
    used[slot] = true;
    slotDrawn = slot;
}
