// The rule that brings a scene to any frame of its slot as a run from the slot's start draws
// it: scenes set themselves up on their first frame and some keep state from frame to frame
// (the scroller, the eye that follows the tunnel), so a slot's frames are drawn in a row from
// its first, and the frames of a row already drawn are not drawn again.
#pragma once

class CatchUp {
  public:
    CatchUp() : next(-1) {}

    // The first frame to draw so that target comes out as in a run, given slotStart, the
    // first frame of target's slot: the frame after the last one drawn in a row when it lies
    // in that slot and not after target, else slotStart. target + 1 (nothing to draw) when
    // target is the last frame drawn.
    long long firstToDraw(long long slotStart, long long target) const {
        return next < slotStart || next > target + 1 ? slotStart : next;
    }
    // frame was drawn, after the frames of the row or as the first of a new one.
    void drew(long long frame) { next = frame + 1; }
    // A frame off the row came between: the next target starts again at its slot's start.
    void forget() { next = -1; }

    long long next; // the frame after the last one drawn in a row; -1 for none
};
