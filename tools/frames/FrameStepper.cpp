// The catch-up rule, frames drawn unseen, and each frame's tick and sound.
#include "frames/FrameStepper.h"

#include <GL/gl.h>

#include <chrono>

#include "frames/UnseenFrames.h"
#include "main/CatchUp.h"
#include "main/Timeline.h"
#include "platform/ManualTick.h"

namespace {

// The rate a missing track is placed at: nothing is heard, so any will do.
const int NO_TRACK_RATE = 44100;

} // namespace

FrameStepper::FrameStepper(Timeline* timeline, int fps, bool moveSound)
    : beforeFrame(), clock(fps), everyFrame(false), timeline(timeline), single(nullptr),
      singleName(""), moveSound(moveSound),
      rate(timeline->music && timeline->music->rate() > 0 ? timeline->music->rate()
                                                          : NO_TRACK_RATE),
      next(-1), drawnBySeek(0), renderedBySeek(0), targetDrawMs(0.0), drawnName("") {}

void FrameStepper::drawOnly(Scene* scene, const char* name) {
    single = scene;
    singleName = name;
    next = -1;
}

long long FrameStepper::slotStart(long long target) const {
    return single ? 0 : clock.firstFrameOfSlot(target);
}

bool FrameStepper::seekTo(long long target) {
    renderedBySeek = 0;
    if (!single && clock.slotOfFrame(target) == Schedule::SLOT_COUNT) {
        drawnBySeek = 0;
        return false;
    }
    const long long start = slotStart(target);
    const long long first = CatchUp::firstToTake(next, start, target);
    drawnBySeek = target + 1 - first;
    if (first > target) {
        return false;
    }
    if (first == start && !single) {
        timeline->leaveSlot();
    }
    {
        const UnseenFrames unseen;
        static const CatchUp::Rule EVERY_FRAME = {CatchUp::EVERY_FRAME, 0.0f, nullptr};
        const char* name = single ? singleName : Schedule::slots[clock.slotOfFrame(target)].name;
        const CatchUp catchUp(everyFrame ? EVERY_FRAME : Schedule::catchUpOf(name), clock, start,
                              target);
        for (long long frame = first; frame < target; ++frame) {
            const CatchUp::Work work = catchUp.work(frame);
            if (work == CatchUp::DRAW || (work == CatchUp::STEP && !stepAt(catchUp, frame))) {
                drawUnseen(frame);
            }
            next = frame + 1;
        }
    }
    const auto begin = std::chrono::steady_clock::now();
    draw(clock.tickOf(target), clock.soundFrameOf(target, rate));
    ++renderedBySeek;
    glFinish();
    targetDrawMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    next = target + 1;
    return true;
}

void FrameStepper::drawUnseen(long long frame) {
    draw(clock.tickOf(frame), clock.soundFrameOf(frame, rate));
    ++renderedBySeek;
    // Without a swap llvmpipe keeps every frame's commands until a flush.
    glFlush();
}

bool FrameStepper::stepAt(const CatchUp& catchUp, long long frame) {
    Scene* scene = single ? single : timeline->scenes[clock.slotOfFrame(frame)];
    if (!scene) {
        return false;
    }
    ManualTick::set(clock.tickOf(frame));
    Timer::update();
    catchUp.step(scene);
    return true;
}

bool FrameStepper::drawAt(long long tick) {
    next = -1;
    return draw(tick, -1);
}

void FrameStepper::remakeAll() {
    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
        timeline->remakeScene(slot);
    }
    timeline->leaveSlot();
    next = -1;
}

bool FrameStepper::draw(long long tick, long long sound) {
    if (moveSound && sound >= 0 && timeline->music) {
        timeline->music->seek(sound, true);
    }
    ManualTick::set(tick);
    Timer::update();
    if (beforeFrame) {
        beforeFrame();
    }
    if (single) {
        Timeline::renderScene(single, singleName);
        drawnName = singleName;
        return true;
    }
    const int slot = timeline->step();
    if (slot == Schedule::SLOT_COUNT) {
        return false;
    }
    drawnName = Schedule::slots[slot].name;
    return true;
}
