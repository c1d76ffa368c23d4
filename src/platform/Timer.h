// The demo's clocks: one millisecond tick sampled per frame, and stopwatches in seconds against it.
#pragma once

class Timer {
  public:
    // Where the millisecond tick comes from. The default counts a steady clock from the
    // process's first sample; the tools and the tests install ManualTick.
    typedef int (*TickSource)();

    static int currentTime; // tick of the last update, milliseconds
    static int frames;      // frames counted in the current window
    static int fps;         // frames per second of the last completed window
    static int last_fps;    // tick at which the current window began

    // Samples the tick and counts the frame; the only place where time advances.
    static void update();
    static int getRawTime() { return currentTime; }
    // A tick in the stopwatches' seconds: what getCurrentTime reads at that tick.
    static float secondsOf(int tick) { return static_cast<float>(tick * 0.001); }

    // Replaces the tick source; null restores the steady clock.
    static void setTickSource(TickSource source);
    static int steadyTick();

    Timer();
    ~Timer() {}

    void restart();
    float getCurrentTime() const;
    float getElapsedTime() const;
    // Seconds since the previous call (or the last restart); marks now as the new reference.
    float getInterval();

  private:
    static TickSource tickSource;

    float start;
    float last;
};
