// A seek's cost in the preview: bringing a slot to its last frame with the catch-up frames
// drawn unseen, beside the same frames drawn in full (the capture's catch-up). The worst case
// is the end of the 64-second slot.
#include <benchmark/benchmark.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cstdlib>

#include "FrameClock.h"
#include "HeadlessEnv.h"
#include "Navigation.h"
#include "Seeker.h"
#include "main/Timeline.h"
#include "platform/sound/SoundSeams.h"
#include "platform/sound/Track.h"

namespace {

struct Demo {
    Demo() : timeline(), clock(60), seeker(nullptr), rate(44100) {
        for (const auto& variable : HEADLESS_ENV) {
            setenv(variable[0], variable[1], 0);
        }
        if (chdir(VQ_DATA_DIR) != 0) {
            abort();
        }
        soundlayer::useManualOutput(true);
        FrameClock::install();
        char name[] = "seek";
        char* argv[] = {name, nullptr};
        timeline.start(1, argv);
        const Track* track = timeline.music->track();
        rate = track ? track->rate : rate;
        seeker = new Seeker(&timeline, clock, rate);
    }
    Timeline timeline;
    FrameClock clock;
    Seeker* seeker;
    int rate;
};

Demo& demo() {
    static Demo* d = new Demo();
    return *d;
}

// The last frame of slot.
long long lastOf(int slot) {
    const Navigation navigation(demo().clock);
    return slot + 1 < Schedule::SLOT_COUNT ? navigation.startOf(slot + 1) - 1
                                           : navigation.lastFrame();
}

// A seek from another slot to the slot's last frame, as the preview makes it: the slot's
// scene made anew (it has drawn before), the frames before the target drawn unseen.
void SeekUnseen(benchmark::State& state) {
    Demo& d = demo();
    const long long target = lastOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        d.seeker->seekTo(0);
        glFinish();
        state.ResumeTiming();
        d.seeker->seekTo(target);
        glFinish();
    }
    state.counters["frames"] = static_cast<double>(d.seeker->framesDrawn());
    state.SetLabel(Schedule::slots[state.range(0)].name);
}

// The same seek with every frame drawn in full, as the capture tool's catch-up draws them.
void SeekDrawnInFull(benchmark::State& state) {
    Demo& d = demo();
    const int slot = static_cast<int>(state.range(0));
    const long long target = lastOf(slot);
    const long long first = d.clock.firstFrameOfSlot(target);
    for (auto _ : state) {
        state.PauseTiming();
        d.seeker->seekTo(0);
        glFinish();
        state.ResumeTiming();
        FrameClock::setTick(0);
        Timer::update();
        d.timeline.remakeScene(slot);
        for (long long frame = first; frame <= target; ++frame) {
            FrameClock::setTick(d.clock.tickOf(frame));
            soundlayer::setManualPosition(d.clock.soundFrameOf(frame, d.rate));
            Timer::update();
            d.timeline.renderSlot(slot);
            glFlush();
        }
        glFinish();
    }
    state.counters["frames"] = static_cast<double>(target + 1 - first);
    state.SetLabel(Schedule::slots[slot].name);
}

// Intro (the 64-second slot, the worst case), TunnelScene2 and TunnelScene, Creds.
BENCHMARK(SeekUnseen)->Arg(1)->Arg(3)->Arg(5)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SeekDrawnInFull)
    ->Arg(1)
    ->Arg(3)
    ->Arg(5)
    ->Arg(6)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
