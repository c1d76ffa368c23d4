// The schedule's slot choice, the start-up's zero of the timeline and the end of the run.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cmath>
#include <cstdio>

#include "main/Timeline.h"
#include "support/GLContext.h"

namespace {

TEST(TimelineSlots, EveryBoundBelongsToTheLaterSlot) {
    EXPECT_EQ(Schedule::slotAt(0.0f), 0);
    EXPECT_EQ(Schedule::slotAt(-1.0f), 0);
    EXPECT_EQ(Schedule::slotAt(std::nextafter(26.0f, 0.0f)), 0);
    const float bounds[] = {26, 90, 122, 170, 194, 226, 249};
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(Schedule::slotAt(bounds[slot]), slot + 1) << "bound " << bounds[slot];
        EXPECT_EQ(Schedule::slotAt(std::nextafter(bounds[slot], 0.0f)), slot);
    }
    EXPECT_EQ(Schedule::slotAt(std::nextafter(266.0f, 0.0f)), 7);
    EXPECT_EQ(Schedule::slotAt(266.0f), Schedule::SLOT_COUNT);
    EXPECT_EQ(Schedule::slotAt(1e9f), Schedule::SLOT_COUNT);
    EXPECT_EQ(Schedule::slotAt(NAN), Schedule::SLOT_COUNT);
}

TEST(TimelineSlots, NamesFollowTheScheduleAndUnknownScenesAreNotMade) {
    EXPECT_STREQ(Schedule::slots[0].name, "Preface");
    EXPECT_STREQ(Schedule::slots[3].name, "TunnelScene2");
    EXPECT_STREQ(Schedule::slots[7].name, "Sex");
    EXPECT_EQ(Schedule::createScene("NoSuchScene", nullptr, nullptr), nullptr);
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
    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
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

// The two start-up samples read 1 s; every frame after them reads the slot's time.
float eventFrameTime = 0.0f;
int eventSamples = 0;
int eventTick() {
    return ++eventSamples <= 2 ? 1000 : 1000 + static_cast<int>(eventFrameTime * 1000.0f);
}

// A scene that ends the process with status 7 once drawn: the loop went on.
class EndingScene : public Scene {
  public:
    void render() override { exit(7); }
};

// Starts the demo's timeline, queues one event and runs the loop from time t.
[[noreturn]] void runWithEvent(float t, const SDL_Event& event) {
    eventFrameTime = t;
    Timer::setTickSource(&eventTick);
    Timeline timeline;
    char name[] = "vorrel-quisp";
    char* argv[] = {name, nullptr};
    timeline.start(1, argv);
    const int slot = Schedule::slotAt(t);
    delete timeline.scenes[slot];
    timeline.scenes[slot] = new EndingScene();
    SDL_Event queued = event;
    SDL_PushEvent(&queued);
    timeline.run();
}

SDL_Event keyPress(SDLKey key) {
    SDL_Event event = {};
    event.type = SDL_KEYDOWN;
    event.key.type = SDL_KEYDOWN;
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    return event;
}

TEST(TimelineRun, QuitKeysAndClosingEndEverySlotWithStatusZeroAndFGoesOn) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    SDL_Event close = {};
    close.type = SDL_QUIT;
    const float times[Schedule::SLOT_COUNT] = {1, 30, 100, 150, 180, 200, 230, 260};
    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
        // Each slot gets one of the four events; each event is tried in two slots.
        switch (slot % 4) {
        case 0:
            EXPECT_EXIT(runWithEvent(times[slot], keyPress(SDLK_ESCAPE)),
                        ::testing::ExitedWithCode(0), "")
                << "Escape in slot " << slot;
            break;
        case 1:
            EXPECT_EXIT(runWithEvent(times[slot], keyPress(SDLK_q)), ::testing::ExitedWithCode(0),
                        "")
                << "q in slot " << slot;
            break;
        case 2:
            EXPECT_EXIT(runWithEvent(times[slot], close), ::testing::ExitedWithCode(0), "")
                << "closing in slot " << slot;
            break;
        default:
            EXPECT_EXIT(runWithEvent(times[slot], keyPress(SDLK_f)), ::testing::ExitedWithCode(7),
                        "")
                << "f in slot " << slot;
            break;
        }
    }
}

} // namespace
