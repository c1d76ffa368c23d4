// Frames drawn for what they do to the scenes, not for their pixels (a seek's catch-up).
#pragma once

// While one lives, a scissor box of no size keeps every clear and every primitive off the
// framebuffer, and where OpenGL 3 is there primitives are dropped before rasterisation as
// well: the scenes' code runs (their clocks, the lazy set-up, the scroller's steps) and
// llvmpipe fills no pixel. No scene reads the framebuffer or touches the scissor state, so
// the frames drawn after it are those a run that drew everything shows.
class UnseenFrames {
  public:
    // Saves the scissor state and switches the test on with an empty box.
    UnseenFrames();
    // Restores the scissor and discard states as they were.
    ~UnseenFrames();

    UnseenFrames(const UnseenFrames&) = delete;
    UnseenFrames& operator=(const UnseenFrames&) = delete;

  private:
    bool discarding; // rasteriser discard switched on here
};
