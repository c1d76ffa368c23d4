// Draws the demo's timeline at any frame of the virtual clock exactly as a run from the slot's
// start draws it (the capture's rule), or at any tick while it plays; rebuilds what it must.
#pragma once

#include "CatchUp.h"
#include "FrameClock.h"
#include "main/Schedule.h"

class Timeline;

class Seeker {
  public:
    // timeline: started on the virtual clock. rate: frames a second of the track, which
    // places the sound of each frame drawn exactly.
    Seeker(Timeline* timeline, const FrameClock& clock, int rate);

    Seeker(const Seeker&) = delete;
    Seeker& operator=(const Seeker&) = delete;

    // Brings the timeline to frame target of its slot (before the end) and draws it into the
    // back buffer; the frames before it in its slot are drawn unseen, and only those not yet
    // drawn in a row. The sound is held at each frame's position as it is drawn. False when
    // target is the frame drawn last and nothing was drawn.
    bool seekTo(long long target);
    // One frame of play at tick ms, before the end: entering a slot whose scene has drawn
    // before starts that slot with a new scene, as a run does. Off the frame grid, so the
    // next seek draws its slot from the start.
    void drawAt(long long tick);
    // Every scene made anew, the pictures read from disk again; nothing is drawn.
    void remakeAll();

    // The frame last drawn by seekTo while nothing came after it; -1 otherwise.
    long long exactFrame() const { return catchUp.next > 0 ? catchUp.next - 1 : -1; }
    // The slot of the last frame drawn; -1 before the first.
    int lastSlot() const { return slotDrawn; }
    // Frames drawn by the last seekTo, unseen ones included.
    long long framesDrawn() const { return drawnBySeek; }
    // Milliseconds the last seekTo took to draw its target frame, finished.
    double targetMs() const { return targetDrawMs; }

    FrameClock clock;

  private:
    void remake(int slot);
    void draw(long long tick);

    Timeline* timeline;
    int rate;
    CatchUp catchUp;
    bool used[Schedule::SLOT_COUNT]; // the slot's scene has drawn since it was made
    int slotDrawn;
    long long drawnBySeek;
    double targetDrawMs;
};
