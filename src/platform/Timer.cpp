// The per-frame tick sample, the frame counter and the stopwatch arithmetic.
#include "platform/Timer.h"

#include <chrono>
#include <cstdint>

int Timer::currentTime = 0;
int Timer::frames = 0;
int Timer::fps = 0;
int Timer::last_fps = 0;
Timer::TickSource Timer::tickSource = &Timer::steadyTick;

int Timer::steadyTick() {
    // Counted from the first sample rather than from system start, so single-precision
    // seconds keep millisecond resolution however long the machine has been up.
    static const std::chrono::steady_clock::time_point origin = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::steady_clock::now() - origin;
    const int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
    return static_cast<int>(static_cast<uint32_t>(ms)); // a 32-bit counter wraps
}

void Timer::setTickSource(TickSource source) {
    tickSource = source ? source : &Timer::steadyTick;
}

void Timer::update() {
    currentTime = tickSource();
    // Signed 32-bit difference, computed unsigned so a wrapped counter stays defined.
    const int sinceWindow =
        static_cast<int>(static_cast<uint32_t>(currentTime) - static_cast<uint32_t>(last_fps));
    if (sinceWindow > 249) {
        fps = frames * 4;
        frames = 0;
        last_fps = currentTime;
    }
    frames += 1;
}

Timer::Timer() : start(0.0f), last(0.0f) {
    restart();
}

void Timer::restart() {
    start = getCurrentTime();
    last = start;
}

float Timer::getCurrentTime() const {
    return secondsOf(currentTime);
}

float Timer::getElapsedTime() const {
    return getCurrentTime() - start;
}

float Timer::getInterval() {
    const float now = getCurrentTime();
    const float interval = now - last;
    last = now;
    return interval;
}
