// A millisecond tick that the caller sets: the clock of the tools' frames, the tests and the
// benchmarks, in place of the steady clock.
#pragma once

class ManualTick {
  public:
    // Makes this tick the Timer's source, reading ms until set moves it.
    static void install(long long ms = 0);
    // The tick the next Timer::update samples, in milliseconds.
    static void set(long long ms);
    static long long get();
    // The steady clock again.
    static void uninstall();
};
