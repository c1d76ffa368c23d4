// The schedule's slot choice, the start-up's zero of the timeline and the end of the run.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cmath>
#include <cstdio>

#include "main/Timeline.h"
#include "support/GLContext.h"

namespace {

TEST(TimelineSlots, EveryBoundBelongsToTheLaterSlot) {
    EXPECT_EQ(Timeline::slotAt(0.0f), 0);
    EXPECT_EQ(Timeline::slotAt(-1.0f), 0);
    EXPECT_EQ(Timeline::slotAt(std::nextafter(26.0f, 0.0f)), 0);
    const float bounds[] = {26, 90, 122, 170, 194, 226, 249};
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(Timeline::slotAt(bounds[slot]), slot + 1) << "bound " << bounds[slot];
        EXPECT_EQ(Timeline::slotAt(std::nextafter(bounds[slot], 0.0f)), slot);
    }
    EXPECT_EQ(Timeline::slotAt(std::nextafter(266.0f, 0.0f)), 7);
    EXPECT_EQ(Timeline::slotAt(266.0f), Timeline::SLOT_COUNT);
    EXPECT_EQ(Timeline::slotAt(1e9f), Timeline::SLOT_COUNT);
    EXPECT_EQ(Timeline::slotAt(NAN), Timeline::SLOT_COUNT);
}

TEST(TimelineSlots, NamesFollowTheScheduleAndUnknownScenesAreNotMade) {
    EXPECT_STREQ(Timeline::slotNames[0], "Preface");
    EXPECT_STREQ(Timeline::slotNames[3], "TunnelScene2");
    EXPECT_STREQ(Timeline::slotNames[7], "Sex");
    EXPECT_EQ(Timeline::createScene("NoSuchScene", nullptr, nullptr), nullptr);
}

// A scene that reports each frame on standard error.
class ProbeScene : public Scene {
  public:
    void render() override { fprintf(stderr, "probe drawn\n"); }
};

int loadingTick = 0;
int slowLoadingTick() {
    // Every sample is ten seconds after the previous one: loading is slow.
    loadingTick += 10000;
    return loadingTick;
}

// Starts the timeline headless with no track, probes in every slot, and runs it.
[[noreturn]] void runWithProbes(Timer::TickSource tick, bool requireZeroAtStart) {
    Timer::setTickSource(tick);
    Timeline timeline;
    char name[] = "vorrel-quisp";
    char* argv[] = {name, nullptr};
    timeline.start(1, argv);
    if (requireZeroAtStart && timeline.timer->getElapsedTime() != 0.0f) {
        exit(3);
    }
    for (int slot = 0; slot < Timeline::SLOT_COUNT; ++slot) {
        delete timeline.scenes[slot];
        timeline.scenes[slot] = new ProbeScene();
    }
    timeline.run();
}

TEST(TimelineRun, LoadingTimeIsNotCountedAndTheEndDrawsNothing) {
    // Two samples pass during start-up, twenty seconds, none of it on the clock; the frames
    // then come at 10 s, 20 s, ... and the one at 270 s ends the run.
    EXPECT_EXIT(runWithProbes(&slowLoadingTick, true), ::testing::ExitedWithCode(0),
                ::testing::HasSubstr("probe drawn"));
}

int endSamples = 0;
int jumpToEndTick() {
    // The two start-up samples read 1 s; every frame after them reads 266 s later.
    return ++endSamples <= 2 ? 1000 : 1000 + 266000;
}

TEST(TimelineRun, AFrameAt266SecondsQuitsWithStatusZeroWithoutDrawing) {
    EXPECT_EXIT(runWithProbes(&jumpToEndTick, true), ::testing::ExitedWithCode(0),
                ::testing::Not(::testing::HasSubstr("probe drawn")));
}

} // namespace
