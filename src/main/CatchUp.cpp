// The frames a row needs, by its scene's rule.
#include "main/CatchUp.h"

#include "platform/Timer.h"

// Two frames of every row are drawn. The first: the lazy scenes set up their camera and restart
// their clock there, the tunnel scenes set their camera once; the GL state a frame leaves is the
// same after every frame of a scene, so the first frame's stands for any other's. The one before
// the target: llvmpipe keeps a trace of the last frame it drew, so a frame drawn right after a
// seen one (an earlier seek's target) can come out a level off in places, as the bars did after
// their slot's second frame; drawn unseen just before the target, as a run has it, it cannot.
// Beyond those two, the rule says.
const CatchUp::Rule CatchUp::ALL_FRAMES = {CatchUp::EVERY_FRAME, 0.0f, nullptr};

CatchUp::CatchUp(const Rule& rule, const FrameClock& clock, long long start, long long target)
    : rule(rule), clock(clock), start(start), target(target), heldFrame(-1) {
    if (rule.kind == HELD_SPECTRUM) {
        heldFrame = lastFetchingFrame();
    }
}

CatchUp::Work CatchUp::work(long long frame) const {
    if (frame == start || frame == target - 1) {
        return DRAW;
    }
    switch (rule.kind) {
    case FIRST_AND_PREVIOUS:
        return SKIP;
    case HELD_SPECTRUM:
        return frame == heldFrame ? DRAW : SKIP;
    case SCROLLER:
        return STEP;
    case EVERY_FRAME:
        break;
    }
    return DRAW;
}

float CatchUp::sceneSeconds(long long frame) const {
    // The scene clock's own arithmetic: a stopwatch restarted at start's tick, read at frame's.
    return Timer::secondsOf(static_cast<int>(clock.tickOf(frame))) -
           Timer::secondsOf(static_cast<int>(clock.tickOf(start)));
}

long long CatchUp::lastFetchingFrame() const {
    if (sceneSeconds(target) < rule.heldFrom) {
        return -1;
    }
    for (long long frame = target - 1; frame >= start; --frame) {
        if (sceneSeconds(frame) < rule.heldFrom) {
            return frame;
        }
    }
    return -1;
}
