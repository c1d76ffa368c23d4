// What a seek does with each frame of a row before its target: the one place that knows, scene
// by scene, which state a frame leaves for the frames after it.
#pragma once

#include "FrameClock.h"

class Scene;

// A row starts on a scene's first frame. Drawing every frame of it from there gives the frames
// of a run, but most frames leave nothing that a later one reads: a catch-up draws (unseen) only
// the frames that do, and for a scene whose carried state is one small step, takes only that
// step. The rule of each scene, with its reason, is in CatchUp.cpp.
class CatchUp {
  public:
    enum Work {
        SKIP, // nothing the frame does is read later
        DRAW, // drawn unseen: it leaves state a later frame reads
        STEP  // only the scene's step from frame to frame (step()), at the frame's tick
    };
    // Which frames a scene's row needs besides its first and the one before the target.
    enum Rule {
        FIRST_AND_PREVIOUS, // none
        HELD_SPECTRUM,      // the last frame that fetched the spectrum the target still reads
        SCROLLER,           // every frame's scroller step, nothing drawn
        EVERY_FRAME         // every frame drawn
    };

    // The row of the named scene class that began at frame start, brought to target. An
    // unknown class draws every frame.
    CatchUp(const char* sceneName, const FrameClock& clock, long long start, long long target);

    // What frame, start <= frame < target, needs.
    Work work(long long frame) const;
    // STEP's work on scene, with the frame's tick sampled; false, with nothing done, when the
    // scene is not of the class the rule was made for.
    static bool step(Scene* scene);

  private:
    static Rule ruleOf(const char* sceneName);
    // The scene clock restarted on the row's first frame, as it reads on frame.
    float sceneSeconds(long long frame) const;
    // The Preface frame before target that last drew the Vorrel card; -1 if target draws it.
    long long lastVorrelFrame() const;

    const FrameClock& clock;
    long long start;
    long long target;
    Rule rule;
    long long heldFrame; // HELD_SPECTRUM's frame to draw; -1 for none
};
