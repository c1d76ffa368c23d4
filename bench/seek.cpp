// A seek's cost in the preview: bringing a slot to its last frame with the catch-up frames
// drawn unseen, beside the same frames drawn in full (the capture's catch-up). The worst case
// is the end of the 64-second slot.
#include <benchmark/benchmark.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cstdlib>

#include "FrameClock.h"
#include "FrameStepper.h"
#include "HeadlessEnv.h"
#include "main/Timeline.h"
#include "platform/ManualTick.h"

namespace {

struct Demo {
    Demo() : timeline(), clock(60), stepper(nullptr) {
        for (const auto& variable : HEADLESS_ENV) {
            setenv(variable[0], variable[1], 0);
        }
        if (chdir(VQ_DATA_DIR) != 0) {
            abort();
        }
        Music::useManualOutput(true);
        FrameClock::install();
        timeline.start(800, 600, true);
        stepper = new FrameStepper(&timeline, clock.fps);
    }
    Timeline timeline;
    FrameClock clock;
    FrameStepper* stepper;
};

Demo& demo() {
    static Demo* d = new Demo();
    return *d;
}

// The last frame of slot.
long long lastOf(int slot) {
    const FrameClock& clock = demo().clock;
    return slot + 1 < Schedule::SLOT_COUNT
               ? clock.firstFrameOfSlot(clock.frameAt(Schedule::slots[slot + 1].start)) - 1
               : clock.lastFrame();
}

// A seek from another slot to the slot's last frame, as the preview makes it: the slot's
// scene made anew (it has drawn before), the frames before the target drawn unseen.
void SeekUnseen(benchmark::State& state) {
    Demo& d = demo();
    const long long target = lastOf(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        d.stepper->seekTo(0);
        glFinish();
        state.ResumeTiming();
        d.stepper->seekTo(target);
        glFinish();
    }
    state.counters["frames"] = static_cast<double>(d.stepper->framesDrawn());
    state.SetLabel(Schedule::slots[state.range(0)].name);
}

// The same seek with every frame drawn in full, as a catch-up without UnseenFrames would.
void SeekDrawnInFull(benchmark::State& state) {
    Demo& d = demo();
    const int slot = static_cast<int>(state.range(0));
    const long long target = lastOf(slot);
    const long long first = d.clock.firstFrameOfSlot(target);
    for (auto _ : state) {
        state.PauseTiming();
        d.stepper->seekTo(0);
        glFinish();
        state.ResumeTiming();
        d.timeline.remakeScene(slot);
        for (long long frame = first; frame <= target; ++frame) {
            ManualTick::set(d.clock.tickOf(frame));
            d.timeline.music->seek(d.clock.soundFrameOf(frame, d.stepper->soundRate()), true);
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
