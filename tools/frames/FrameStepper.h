// Brings the demo's timeline, or one scene alone, to any frame of the tools' clock exactly as a
// run from the slot's start draws it, with the track heard there, and steps it on: the one way
// the capture and the preview take a frame.
#pragma once

#include <functional>

#include "main/RowStepper.h"

class Scene;
class Timeline;

// The row itself is RowStepper's; here the frames the catch-up draws are kept unseen
// (UnseenFrames), each frame's sound is placed, and the target's drawing is timed.
class FrameStepper {
  public:
    // timeline: started on ManualTick at tick 0. moveSound false keeps the track where it is
    // (before its first frame, every spectrum zero: the capture's --silent).
    FrameStepper(Timeline* timeline, int fps, bool moveSound = true);

    FrameStepper(const FrameStepper&) = delete;
    FrameStepper& operator=(const FrameStepper&) = delete;

    // From now on every frame draws this scene alone, from frame 0 on, in place of the
    // timeline (the capture's --scene); name is its class, for the error check and the stats.
    void drawOnly(Scene* scene, const char* name) { row.drawOnly(scene, name); }

    // Brings the timeline to frame target and draws it into the back buffer: of the frames of
    // its slot before it, those not yet taken in a row are caught up (drawn unseen as needed).
    // False, with nothing drawn, when target is the frame drawn last or lies at or past the
    // timeline's end.
    bool seekTo(long long target);
    // One frame of play at tick ms, off the frame grid (the preview playing in real time), so
    // the next seek draws its slot from the start; the sound is left as it plays. False at or
    // past the end.
    bool drawAt(long long tick) { return row.drawAt(tick); }
    // Every scene made anew, the pictures read from disk again; nothing is drawn.
    void remakeAll() { row.remakeAll(); }

    // The frame last drawn by seekTo while nothing came after it; -1 otherwise.
    long long exactFrame() const { return row.exactFrame(); }
    // Frames of the row the last seekTo went through, the target included, whether the
    // catch-up drew them, stepped or skipped them.
    long long framesDrawn() const { return row.framesTaken(); }
    // Of those, the frames the last seekTo drew in full, seen or unseen: what the scene's
    // catch-up rule costs.
    long long framesRendered() const { return row.framesRendered(); }
    // Milliseconds the last seekTo took to draw its target frame, finished.
    double targetMs() const { return targetDrawMs; }
    // Frames a second of the track, by which each frame's sound is placed.
    int soundRate() const { return rate; }
    // The class of the scene the last frame drew.
    const char* sceneName() const { return row.sceneName(); }
    const FrameClock& clock() const { return row.clock; }

    // Run before every frame is drawn, seen or not (the capture binds its render target).
    std::function<void()> beforeFrame;
    // Every frame of a row drawn in full, no catch-up: the reference the catch-up is held to
    // (the capture's --every-frame), slow.
    bool everyFrame;

  private:
    RowStepper row;
    bool moveSound;
    int rate; // frames a second of the track
    double targetDrawMs;
};
