// A seek's cost in the preview: bringing a slot to its last frame with the stepper's catch-up
// (only the frames that leave state for later ones, drawn unseen), beside every frame of the
// slot drawn unseen and every frame drawn in full.
#include <benchmark/benchmark.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cstdlib>

#include "HeadlessEnv.h"
#include "frames/FrameStepper.h"
#include "frames/UnseenFrames.h"
#include "main/FrameClock.h"
#include "main/Timeline.h"
#include "platform/ManualTick.h"

namespace {

struct Demo {
    Demo() : timeline(), clock(FrameClock::DEFAULT_FPS), stepper(nullptr) {
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

// The first frame of the next slot: a seek from there enters slot anew.
long long outsideOf(int slot) {
    return demo().clock.frameAt(Schedule::slots[(slot + 1) % Schedule::SLOT_COUNT].start);
}

// Slot's scene made anew at start-up's tick, as a seek that enters the slot makes it.
void remake(int slot) {
    Demo& d = demo();
    ManualTick::set(d.timeline.startupTick());
    Timer::update();
    d.timeline.remakeScene(slot);
}

// Frame of slot drawn at its tick with the track heard there, as the stepper draws it.
void drawFrame(int slot, long long frame) {
    Demo& d = demo();
    ManualTick::set(d.clock.tickOf(frame));
    d.timeline.music->seek(d.clock.soundFrameOf(frame, d.stepper->soundRate()), true);
    Timer::update();
    d.timeline.renderSlot(slot);
}

// A seek from another slot to the slot's last frame, as the preview makes it: the slot's
// scene made anew (it has drawn before), the stepper's catch-up, the target.
void SeekUnseen(benchmark::State& state) {
    Demo& d = demo();
    const int slot = static_cast<int>(state.range(0));
    const long long target = lastOf(slot);
    for (auto _ : state) {
        state.PauseTiming();
        d.stepper->seekTo(outsideOf(slot));
        glFinish();
        state.ResumeTiming();
        d.stepper->seekTo(target);
        glFinish();
    }
    state.counters["frames"] = static_cast<double>(d.stepper->framesDrawn());
    state.SetLabel(Schedule::slots[slot].name);
}

// The same seek with every frame of the slot before the target drawn unseen, as the stepper's
// catch-up did before it learnt which frames each scene needs.
void SeekEveryFrameUnseen(benchmark::State& state) {
    Demo& d = demo();
    const int slot = static_cast<int>(state.range(0));
    const long long target = lastOf(slot);
    const long long first = d.clock.firstFrameOfSlot(target);
    for (auto _ : state) {
        state.PauseTiming();
        d.stepper->seekTo(outsideOf(slot));
        glFinish();
        state.ResumeTiming();
        remake(slot);
        {
            const UnseenFrames unseen;
            for (long long frame = first; frame < target; ++frame) {
                drawFrame(slot, frame);
                glFlush();
            }
        }
        drawFrame(slot, target);
        glFinish();
    }
    state.counters["frames"] = static_cast<double>(target + 1 - first);
    state.SetLabel(Schedule::slots[slot].name);
}

// The same seek with every frame drawn in full, as a catch-up without UnseenFrames would.
void SeekDrawnInFull(benchmark::State& state) {
    Demo& d = demo();
    const int slot = static_cast<int>(state.range(0));
    const long long target = lastOf(slot);
    const long long first = d.clock.firstFrameOfSlot(target);
    for (auto _ : state) {
        state.PauseTiming();
        d.stepper->seekTo(outsideOf(slot));
        glFinish();
        state.ResumeTiming();
        remake(slot);
        for (long long frame = first; frame <= target; ++frame) {
            drawFrame(slot, frame);
            glFlush();
        }
        glFinish();
    }
    state.counters["frames"] = static_cast<double>(target + 1 - first);
    state.SetLabel(Schedule::slots[slot].name);
}

// Every slot with the catch-up, and with every frame unseen.
BENCHMARK(SeekUnseen)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SeekEveryFrameUnseen)->DenseRange(0, 7)->Unit(benchmark::kMillisecond)->Iterations(1);
// In full: Intro (the 64-second slot), TunnelScene2 and TunnelScene, Creds.
BENCHMARK(SeekDrawnInFull)
    ->Arg(1)
    ->Arg(3)
    ->Arg(5)
    ->Arg(6)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
