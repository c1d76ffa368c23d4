// Brings the demo's timeline, or one scene alone, to any frame of the tools' clock exactly as a
// run from the slot's start draws it, and steps it on: the one way the capture and the preview
// take a frame.
#pragma once

#include <functional>

#include "main/FrameClock.h"

class CatchUp;
class Scene;
class Timeline;

// Scenes set themselves up on their first frame and some keep state from frame to frame (the
// scroller, the eye that follows the tunnel), so a slot's frames are taken in a row from its
// first: of the frames before a target, the catch-up (CatchUp) draws unseen (UnseenFrames) only
// those that leave state for a later frame, or takes only a scene's step, and the frames of a
// row already taken are not taken again. Every frame k is drawn at the tick of frame k on
// ManualTick, with the track heard at the same time.
class FrameStepper {
  public:
    // timeline: started on ManualTick at tick 0. moveSound false keeps the track where it is
    // (before its first frame, every spectrum zero: the capture's --silent).
    FrameStepper(Timeline* timeline, int fps, bool moveSound = true);

    FrameStepper(const FrameStepper&) = delete;
    FrameStepper& operator=(const FrameStepper&) = delete;

    // From now on every frame draws this scene alone, from frame 0 on, in place of the
    // timeline (the capture's --scene); name is its class, for the error check and the stats.
    void drawOnly(Scene* scene, const char* name);

    // Brings the timeline to frame target and draws it into the back buffer: of the frames of
    // its slot before it, those not yet taken in a row are caught up (drawn unseen as needed).
    // Entering a slot whose scene has drawn before makes it anew, as a run has it new. False, with
    // nothing drawn, when target is the frame drawn last or lies at or past the timeline's end.
    bool seekTo(long long target);
    // One frame of play at tick ms, off the frame grid (the preview playing in real time), so
    // the next seek draws its slot from the start; the sound is left as it plays. False at or
    // past the end.
    bool drawAt(long long tick);
    // Every scene made anew, the pictures read from disk again; nothing is drawn.
    void remakeAll();

    // The frame last drawn by seekTo while nothing came after it; -1 otherwise.
    long long exactFrame() const { return next > 0 ? next - 1 : -1; }
    // Frames of the row the last seekTo went through, the target included, whether the
    // catch-up drew them, stepped or skipped them.
    long long framesDrawn() const { return drawnBySeek; }
    // Of those, the frames the last seekTo drew in full, seen or unseen: what the scene's
    // catch-up rule costs.
    long long framesRendered() const { return renderedBySeek; }
    // Milliseconds the last seekTo took to draw its target frame, finished.
    double targetMs() const { return targetDrawMs; }
    // Frames a second of the track, by which each frame's sound is placed.
    int soundRate() const { return rate; }
    // The class of the scene the last frame drew.
    const char* sceneName() const { return drawnName; }

    // Run before every frame is drawn, seen or not (the capture binds its render target).
    std::function<void()> beforeFrame;
    FrameClock clock;
    // Every frame of a row drawn in full, no catch-up: the reference the catch-up is held to
    // (the capture's --every-frame), slow.
    bool everyFrame;

  private:
    // The first frame of target's slot, or 0 for a scene drawn alone.
    long long slotStart(long long target) const;
    // Samples tick (and the track at sound) and draws the frame there; false at the end.
    bool draw(long long tick, long long sound);
    // A catch-up frame drawn in full, its pixels kept off by the caller's UnseenFrames.
    void drawUnseen(long long frame);
    // A catch-up frame of which only the scene's step is taken (CatchUp::step), at its tick;
    // false, with nothing done, when the slot has no scene.
    bool stepAt(const CatchUp& catchUp, long long frame);

    Timeline* timeline;
    Scene* single;
    const char* singleName;
    bool moveSound;
    int rate;       // frames a second of the track
    long long next; // the frame after the last one drawn in a row; -1 for none
    long long drawnBySeek;
    long long renderedBySeek;
    double targetDrawMs;
    const char* drawnName;
};
