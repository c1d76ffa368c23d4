// Where the preview's keys and its loop take the timeline: frames of the clock's grid.
#pragma once

#include "main/FrameClock.h"

class Navigation {
  public:
    explicit Navigation(const FrameClock& clock) : clock(clock) {}

    // frame kept from 0 to lastFrame.
    long long clamp(long long frame) const;
    // The frame nearest to tick + ms, kept on the timeline (a seek by seconds).
    long long by(long long tick, long long ms) const;
    // The next frame of the grid after tick (direction 1) or the one before it (-1), kept on
    // the timeline; tick may lie between two frames.
    long long step(long long tick, int direction) const;
    // The first frame of a slot.
    long long startOf(int slot) const;
    // The first frame of the slot before tick's slot, or 0 in the first slot (Page Up).
    long long previousScene(long long tick) const;
    // The first frame of the slot after tick's slot; -1 in the last slot (Page Down).
    long long nextScene(long long tick) const;

    FrameClock clock;
};
