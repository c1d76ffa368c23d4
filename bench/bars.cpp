// Frame time of the spectrum-bar scene at 800 x 600: one Intro frame, finished by the GPU.
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "HeadlessEnv.h"
#include "platform/Music.h"
#include "platform/Timer.h"
#include "platform/sound/SoundSeams.h"
#include "scenes/Intro.h"
#include "support/GLContext.h"

namespace {

// A spectrum falling off with frequency, so the bars have different heights.
const float* sampleSpectrum() {
    static float values[512];
    for (int i = 0; i < 512; ++i) {
        values[i] = 0.6f * (1.0f - static_cast<float>(i) / 600.0f);
    }
    return values;
}

// t: scene time in seconds, choosing the shot (and the fade from 62 s).
void introFrame(benchmark::State& state, float t) {
    gltest::openDisplay();
    gltest::setTick(1000);
    Timer timer;
    Music music;
    Intro intro(&timer, &music);
    soundlayer::overrideSpectrum(sampleSpectrum());
    intro.render();
    gltest::setTick(1000 + static_cast<int>(t * 1000.0f));
    for (auto _ : state) {
        intro.render();
        glFinish(); // llvmpipe defers rasterising until the frame is needed
    }
    soundlayer::overrideSpectrum(nullptr);
    gltest::restoreTick();
}

void BM_IntroFrameShot1(benchmark::State& state) {
    introFrame(state, 4.0f);
}
void BM_IntroFrameShot5(benchmark::State& state) {
    introFrame(state, 45.0f);
}
void BM_IntroFrameFading(benchmark::State& state) {
    introFrame(state, 63.0f);
}

BENCHMARK(BM_IntroFrameShot1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntroFrameShot5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntroFrameFading)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Headless, the same set-up as the tests.
    for (const auto& variable : HEADLESS_ENV) {
        setenv(variable[0], variable[1], 0);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
