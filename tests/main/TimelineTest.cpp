// The schedule's slot choice, the start-up's zero of the timeline and the end of the run.
#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "main/Timeline.h"
#include "platform/sound/SoundLayer.h"
#include "support/GLContext.h"
#include "support/SoundFiles.h"

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

// A scene that reports each frame, with the timeline's time, on standard error.
class ProbeScene : public Scene {
  public:
    explicit ProbeScene(Timer* timer) : timer(timer) {}
    void render() override { fprintf(stderr, "probe drawn at %g\n", timer->getElapsedTime()); }

  private:
    Timer* timer;
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
        timeline.scenes[slot] = new ProbeScene(timeline.timer);
    }
    timeline.run();
}

TEST(TimelineRun, LoadingTimeIsNotCountedAndTheEndDrawsNothing) {
    // Two samples pass during start-up, twenty seconds, none of it on the clock; the frames
    // then come at 10 s, 20 s, ... 260 s, each drawn, and the one at 270 s ends the run
    // without drawing.
    std::string drawn;
    for (int t = 10; t <= 260; t += 10) {
        drawn += "probe drawn at " + std::to_string(t) + "\n";
    }
    EXPECT_EXIT(
        runWithProbes(&slowLoadingTick, true), ::testing::ExitedWithCode(0),
        ::testing::AllOf(::testing::HasSubstr(drawn), ::testing::EndsWith("probe drawn at 260\n")));
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

// The demo's start-up in a folder whose "mixdown.mp3" is the given track and which holds no
// pictures, through the dummy audio device; a NaN in spectrum entry 20 when asked. Checks how
// far the track had been heard when the wait for audio ended (on the device's own clock, not
// the machine's) and how long the start-up took, and exits 0 when both are in range; else
// prints them and exits 1.
[[noreturn]] void startAndCheckTheWait(const std::string& folder, bool nanAt20, double minHeard,
                                       double maxHeard, double minSeconds) {
    if (chdir(folder.c_str()) != 0) {
        exit(2);
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    static float nanSpectrum[512] = {};
    nanSpectrum[20] = NAN;
    if (nanAt20) {
        soundlayer::overrideSpectrum(nanSpectrum);
    }
    Timer::setTickSource(nullptr);
    const auto begin = std::chrono::steady_clock::now();
    Timeline timeline;
    char name[] = "vorrel-quisp";
    char* argv[] = {name, nullptr};
    timeline.start(1, argv);
    const double heard = soundlayer::audibleFrame() / 44100.0;
    const double took =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    const bool audible = nanAt20 || timeline.music->getSpectrumBuffer()[20] != 0.0f;
    fprintf(stderr, "output %d, heard %.3f s of the track, start-up %.2f s, entry 20 %s\n",
            static_cast<int>(soundlayer::outputKind()), heard, took,
            audible ? "sounding" : "silent");
    const bool ok = soundlayer::outputKind() == soundlayer::OUTPUT_DEVICE && heard >= minHeard &&
                    heard <= maxHeard && took >= minSeconds && (audible || minHeard == 0.0);
    timeline.window->quit(ok ? 0 : 1); // the demo's own way out: SDL shut down first
}

// A folder of its own for each test (the tests run side by side), holding the track.
std::string trackFolder(const char* name, const std::vector<int16_t>& frames) {
    const std::string folder = std::string(VQ_BINARY_DIR) + "/startup-wait-" + name;
    mkdir(folder.c_str(), 0755);
    EXPECT_TRUE(soundfiles::writeMp3(folder + "/mixdown.mp3", frames, 2, 44100, 192));
    return folder;
}

// Spectrum entry 20 is FFT bin 21 of 1024 frames at 44100 Hz.
const double ENTRY20_HZ = 21.0 * 44100.0 / 1024.0;

TEST(TimelineStartUp, TheWaitEndsWhenTheTrackIsFirstHeard) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // One second of silence, then a tone in entry 20: the wait ends as the tone comes in
    // (the encoder's window may let it show a few milliseconds early), long before its limit.
    std::vector<int16_t> frames = soundfiles::sine(1.0, ENTRY20_HZ, 0.0, 2, 44100);
    const std::vector<int16_t> tone = soundfiles::sine(2.0, ENTRY20_HZ, 0.5, 2, 44100);
    frames.insert(frames.end(), tone.begin(), tone.end());
    const std::string folder = trackFolder("tone", frames);
    EXPECT_EXIT(startAndCheckTheWait(folder, false, 0.95, 1.5, 0.0), ::testing::ExitedWithCode(0),
                "");
    remove((folder + "/mixdown.mp3").c_str());
    rmdir(folder.c_str());
}

TEST(TimelineStartUp, TheWaitGivesUpAtItsLimitAndANaNEndsItAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string folder = trackFolder("silence", soundfiles::sine(1.0, 1.0, 0.0, 2, 44100));
    // A silent track: the start-up takes at least the wait's limit, the device playing on.
    EXPECT_EXIT(startAndCheckTheWait(folder, false, 0.0, 1e9, Timeline::AUDIO_WAIT_LIMIT),
                ::testing::ExitedWithCode(0), "");
    // A NaN in entry 20 ends the wait as a sound would: well within a second of the track.
    EXPECT_EXIT(startAndCheckTheWait(folder, true, -1.0, 1.0, 0.0), ::testing::ExitedWithCode(0),
                "");
    remove((folder + "/mixdown.mp3").c_str());
    rmdir(folder.c_str());
}

} // namespace
