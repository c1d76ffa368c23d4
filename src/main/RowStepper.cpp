// The row of a slot's frames: where it goes on from, what each frame before the target needs,
// and every frame's tick.
#include "main/RowStepper.h"

#include <GL/gl.h>

#include "main/Schedule.h"
#include "main/Timeline.h"
#include "platform/ManualTick.h"

RowStepper::RowStepper(Timeline* timeline, int fps)
    : beforeFrame(), everyFrame(false), clock(fps), timeline(timeline), single(nullptr),
      singleName(""), next(-1), target(-1), taken(0), rendered(0), drawnName("") {}

void RowStepper::drawOnly(Scene* scene, const char* name) {
    single = scene;
    singleName = name;
    next = -1;
}

bool RowStepper::catchUp(long long to) {
    taken = 0;
    rendered = 0;
    const int slot = single ? 0 : clock.slotOfFrame(to);
    if (slot == Schedule::SLOT_COUNT) {
        return false;
    }
    const long long start = single ? 0 : clock.firstFrameOfSlot(to);
    const long long first = CatchUp::firstToTake(next, start, to);
    if (first > to) {
        return false;
    }
    taken = to + 1 - first;
    target = to;
    if (first == start && !single) {
        timeline->leaveSlot();
        remakeIfDrawn(slot);
    }
    const char* name = single ? singleName : Schedule::slots[slot].name;
    const CatchUp rule(everyFrame ? CatchUp::ALL_FRAMES : Schedule::catchUpOf(name), clock, start,
                       to);
    for (long long frame = first; frame < to; ++frame) {
        const CatchUp::Work work = rule.work(frame);
        if (work == CatchUp::DRAW || (work == CatchUp::STEP && !stepAt(rule, frame))) {
            draw(frame, clock.tickOf(frame));
            ++rendered;
            // Without a swap llvmpipe keeps every frame's commands until a flush.
            glFlush();
        }
        next = frame + 1;
    }
    return true;
}

void RowStepper::drawTarget(long long frame) {
    draw(frame, clock.tickOf(frame));
    ++rendered;
    next = frame + 1;
}

bool RowStepper::drawAt(long long tick) {
    next = -1;
    const int slot = FrameClock::slotOfTick(tick);
    if (!single && slot < Schedule::SLOT_COUNT) {
        remakeIfDrawn(slot);
    }
    return draw(-1, tick);
}

void RowStepper::remakeAll() {
    ManualTick::set(timeline->startupTick());
    Timer::update();
    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
        timeline->remakeScene(slot);
    }
    timeline->leaveSlot();
    next = -1;
}

void RowStepper::remakeIfDrawn(int slot) {
    if (timeline->entersDrawnSlot(slot)) {
        ManualTick::set(timeline->startupTick());
        Timer::update();
        timeline->remakeScene(slot);
    }
}

bool RowStepper::stepAt(const CatchUp& rule, long long frame) {
    Scene* scene = single ? single : timeline->scenes[clock.slotOfFrame(frame)];
    if (!scene) {
        return false;
    }
    ManualTick::set(clock.tickOf(frame));
    Timer::update();
    rule.step(scene);
    return true;
}

bool RowStepper::draw(long long frame, long long tick) {
    if (beforeFrame) {
        beforeFrame(frame);
    }
    ManualTick::set(tick);
    Timer::update();
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
