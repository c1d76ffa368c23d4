// What a seek does with each frame of a row before its target, by the rule of the row's scene.
#pragma once

#include "main/FrameClock.h"

class Scene;

// A row starts on a scene's first frame. Drawing every frame of it from there gives the frames
// of a run, but most frames leave nothing that a later one reads: a catch-up draws (unseen) only
// the frames that do, and for a scene whose carried state is one small step, takes only that
// step. Each scene's rule, with its reason, stands beside the scenes' table (Schedule.cpp).
class CatchUp {
  public:
    enum Work {
        SKIP, // nothing the frame does is read later
        DRAW, // drawn unseen: it leaves state a later frame reads
        STEP  // only the scene's step from frame to frame (step()), at the frame's tick
    };
    // Which frames a scene's row needs besides its first and the one before the target.
    enum Kind {
        FIRST_AND_PREVIOUS, // none
        HELD_SPECTRUM,      // the last frame that fetched the spectrum the target still reads
        SCROLLER,           // every frame's step, nothing drawn
        EVERY_FRAME         // every frame drawn
    };
    struct Rule {
        Kind kind;
        // HELD_SPECTRUM: the scene clock's seconds from which the frames read the spectrum as
        // the last frame before them fetched it.
        float heldFrom;
        // SCROLLER: the scene's step from one frame to the next, nothing drawn.
        void (*step)(Scene* scene);
    };

    // The rule that draws every frame of a row: the reference every catch-up is held to, and
    // the rule of a scene that declares none.
    static const Rule ALL_FRAMES;

    // The row of a scene of the given rule that began at frame start, brought to target.
    CatchUp(const Rule& rule, const FrameClock& clock, long long start, long long target);

    // What frame, start <= frame < target, needs.
    Work work(long long frame) const;
    // STEP's work on scene (of the rule's class), with the frame's tick sampled.
    void step(Scene* scene) const { rule.step(scene); }

    // Where a row that stands at next (the frame after the last one taken, -1 for none) goes
    // on towards target of a slot that begins at start: at next while it lies in the slot and
    // does not pass target, from start otherwise. A row never goes back.
    static long long firstToTake(long long next, long long start, long long target) {
        return next < start || next > target + 1 ? start : next;
    }

  private:
    // The scene clock restarted on the row's first frame, as it reads on frame.
    float sceneSeconds(long long frame) const;
    // The frame before target that last fetched the held spectrum; -1 if target fetches it.
    long long lastFetchingFrame() const;

    const Rule rule;
    const FrameClock& clock;
    long long start;
    long long target;
    long long heldFrame; // HELD_SPECTRUM's frame to draw; -1 for none
};
