// The frame counter's windows and the stopwatch arithmetic over a replaced tick source.
#include <gtest/gtest.h>

#include "platform/Timer.h"
#include "support/GLContext.h"

namespace {

class TimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Timer::frames = 0;
        Timer::fps = 0;
        Timer::last_fps = 0;
    }
    void TearDown() override { gltest::restoreTick(); }
};

TEST_F(TimerTest, FrameCounterClosesWindowsOfAtLeast250Milliseconds) {
    gltest::setTick(100000); // far from the window start: closes a window at once
    EXPECT_EQ(Timer::fps, 0);
    EXPECT_EQ(Timer::frames, 1);
    EXPECT_EQ(Timer::last_fps, 100000);

    // 60 frames a second: 15 frames in the window, the 16th at 250 ms closes it.
    for (int k = 1; k <= 14; ++k) {
        gltest::setTick(100000 + k * 1000 / 60);
    }
    EXPECT_EQ(Timer::fps, 0); // 249 ms have passed at most, no window closed yet
    gltest::setTick(100000 + 250);
    EXPECT_EQ(Timer::fps, 60); // 15 frames counted in the window, times 4
    EXPECT_EQ(Timer::frames, 1);

    // Exactly 249 ms later the window stays open; 250 ms closes it.
    gltest::setTick(100250 + 249);
    EXPECT_EQ(Timer::frames, 2);
    gltest::setTick(100250 + 250);
    EXPECT_EQ(Timer::fps, 8);

    // A loop slower than 4 frames a second closes a window every frame.
    gltest::setTick(101000);
    EXPECT_EQ(Timer::fps, 4);
    gltest::setTick(102000);
    EXPECT_EQ(Timer::fps, 4);
}

TEST_F(TimerTest, ClocksReadTheSampleOfTheLastUpdate) {
    gltest::setTick(5000);
    Timer timer;
    EXPECT_EQ(timer.getElapsedTime(), 0.0f); // starts at the last sample
    EXPECT_FLOAT_EQ(timer.getCurrentTime(), 5.0f);
    EXPECT_EQ(Timer::getRawTime(), 5000);

    gltest::setTick(6500);
    EXPECT_FLOAT_EQ(timer.getElapsedTime(), 1.5f);
    EXPECT_FLOAT_EQ(timer.getElapsedTime(), 1.5f); // no update, no change

    // getInterval twice in one frame: the frame's interval, then 0.
    EXPECT_FLOAT_EQ(timer.getInterval(), 1.5f);
    EXPECT_EQ(timer.getInterval(), 0.0f);
    gltest::setTick(6750);
    EXPECT_FLOAT_EQ(timer.getInterval(), 0.25f);

    // Restarted and read in the same frame: exactly 0.
    timer.restart();
    EXPECT_EQ(timer.getElapsedTime(), 0.0f);
    EXPECT_EQ(timer.getInterval(), 0.0f);
}

TEST_F(TimerTest, SecondsAreTheTickTimesOneThousandthInSinglePrecision) {
    // Far from the origin single precision shows its steps. Past 2^17 s they are 1/64 s:
    // 131072.001 s reads 131072, and a millisecond later the clock has not moved.
    gltest::setTick(131072001);
    Timer timer;
    EXPECT_EQ(timer.getCurrentTime(), 131072.0f);
    gltest::setTick(131072002);
    EXPECT_EQ(timer.getElapsedTime(), 0.0f);
    // Between 2^16 and 2^17 s they are 1/128 s: 100000.003 s reads 100000, and 100000.004 s,
    // nearer the next step, reads 100000 + 1/128.
    gltest::setTick(100000003);
    Timer near;
    EXPECT_EQ(near.getCurrentTime(), 100000.0f);
    gltest::setTick(100000004);
    EXPECT_EQ(near.getCurrentTime(), 100000.0078125f);
    EXPECT_EQ(near.getElapsedTime(), 0.0078125f);

    // A negative tick (a wrapped counter) stays signed.
    gltest::setTick(-2000);
    EXPECT_FLOAT_EQ(Timer().getCurrentTime(), -2.0f);
}

TEST_F(TimerTest, SteadyTickStartsNearZeroAndNeverGoesBack) {
    gltest::restoreTick();
    Timer::update();
    const int first = Timer::getRawTime();
    EXPECT_GE(first, 0);
    EXPECT_LT(first, 600000); // counted from the process's first sample, not from boot
    Timer::update();
    EXPECT_GE(Timer::getRawTime(), first);
}

} // namespace
