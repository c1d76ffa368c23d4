// Walks a slot's row of frames on the frame grid: the one way the tools and the page's test mode
// bring the timeline, or one scene alone, to a frame exactly as a run from the slot's start
// draws it.
#pragma once

#include <functional>

#include "main/CatchUp.h"
#include "main/FrameClock.h"

class Scene;
class Timeline;

// Scenes set themselves up on their first frame and some keep state from frame to frame (the
// scroller, the eye that follows the tunnel), so a slot's frames are taken in a row from its
// first: of the frames before a target, the catch-up (CatchUp) draws only those that leave state
// for a later frame, or takes only a scene's step, and the frames of a row already taken are not
// taken again. Every frame k is drawn at the tick of frame k on ManualTick.
class RowStepper {
  public:
    // timeline: started on the frame grid (FrameClock::install, then Timeline::start).
    RowStepper(Timeline* timeline, int fps);

    RowStepper(const RowStepper&) = delete;
    RowStepper& operator=(const RowStepper&) = delete;

    // From now on every frame draws this scene alone, from frame 0 on, in place of the
    // timeline; name is its class, for the error check.
    void drawOnly(Scene* scene, const char* name);

    // Takes the frames of target's row before target that the row still needs, from where it
    // stands, each as its scene's rule says; the caller then draws target (drawTarget). Entering
    // a slot whose scene has drawn before makes it anew, as a run has it new. False, with
    // nothing taken, when target is the frame taken last or lies at or past the timeline's end.
    bool catchUp(long long target);
    // Draws target, the frame the last catchUp brought the row to, into the back buffer.
    void drawTarget(long long target);
    // One frame at tick ms, off the grid (the preview playing in real time): the next catch-up
    // takes its slot from the first frame. False, with nothing drawn, at or past the end.
    bool drawAt(long long tick);
    // Every scene made anew, the pictures read from disk again; nothing is drawn.
    void remakeAll();

    // The frame drawn last while nothing came after it; -1 otherwise.
    long long exactFrame() const { return next > 0 ? next - 1 : -1; }
    // Frames of the row the last catchUp went through, its target included, whether drawn,
    // stepped or skipped.
    long long framesTaken() const { return taken; }
    // Of those, the frames drawn in full so far, seen or unseen: what the catch-up rule costs.
    long long framesRendered() const { return rendered; }
    // The class of the scene the last frame drew.
    const char* sceneName() const { return drawnName; }

    // Run before every frame is drawn, seen or not, with the frame (-1 off the grid), before its
    // tick is sampled: the tools place the track and bind their render target there.
    std::function<void(long long frame)> beforeFrame;
    // Every frame of a row drawn in full, no catch-up (CatchUp::ALL_FRAMES): slow.
    bool everyFrame;
    const FrameClock clock;

  private:
    // Samples tick and draws the frame there; false at the end.
    bool draw(long long frame, long long tick);
    // A catch-up frame of which only the scene's step is taken, at its tick; false, with
    // nothing done, when the slot has no scene.
    bool stepAt(const CatchUp& rule, long long frame);
    // Makes slot's scene anew if it has drawn since it was made, at start-up's tick: the
    // tunnels' clocks count from loading. The frame's own tick is sampled after it.
    void remakeIfDrawn(int slot);

    Timeline* timeline;
    Scene* single;
    const char* singleName;
    long long next;   // the frame after the last one taken in a row; -1 for none
    long long target; // the last catchUp's target
    long long taken;
    long long rendered;
    const char* drawnName;
};
