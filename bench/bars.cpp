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

// The fill-rate floor: n full-screen quads at 800 x 600, blended as the bar scenes' floor and
// overlay are (source alpha over what is there), textured or not, nothing else drawn. The bar
// scenes cover the screen about twice; beside their frame times this shows how far they are
// from what llvmpipe can fill.
void BM_FullScreenBlendedQuads(benchmark::State& state) {
    gltest::openDisplay();
    const int quads = static_cast<int>(state.range(0));
    const bool textured = state.range(1) != 0;
    GLuint texture = 0;
    if (textured) {
        static unsigned char texels[256 * 256 * 4];
        for (size_t i = 0; i < sizeof(texels); ++i) {
            texels[i] = static_cast<unsigned char>(i * 7);
        }
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glEnable(GL_TEXTURE_2D);
    }
    glViewport(0, 0, 800, 600);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_QUADS);
        for (int q = 0; q < quads; ++q) {
            glColor4f(0.2f, 0.4f, 0.8f, 0.5f);
            glTexCoord2f(0.0f, 0.0f);
            glVertex2f(-1.0f, -1.0f);
            glTexCoord2f(1.0f, 0.0f);
            glVertex2f(1.0f, -1.0f);
            glTexCoord2f(1.0f, 1.0f);
            glVertex2f(1.0f, 1.0f);
            glTexCoord2f(0.0f, 1.0f);
            glVertex2f(-1.0f, 1.0f);
        }
        glEnd();
        glFinish();
    }
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    if (textured) {
        glDisable(GL_TEXTURE_2D);
        glDeleteTextures(1, &texture);
    }
}

BENCHMARK(BM_FullScreenBlendedQuads)
    ->ArgsProduct({{1, 2, 3}, {0, 1}})
    ->ArgNames({"quads", "textured"})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime(); // the rasteriser's threads included
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
