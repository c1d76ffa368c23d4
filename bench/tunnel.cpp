// The tunnel's per-frame costs: the path walk, one octave sum, and a whole frame of each tunnel
// scene drawn by llvmpipe.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include "math/Noise.h"
#include "platform/Music.h"
#include "platform/Timer.h"
#include "scenes/TunnelScene.h"
#include "scenes/TunnelScene2.h"
#include "support/GLContext.h"
#include "tunnel/Tunnel.h"

namespace {

void BM_TunnelUpdate(benchmark::State& state) {
    gltest::openDisplay(); // the tunnel's texture needs a context
    Tunnel tunnel(nullptr);
    tunnel.create(40.0f, 2.5f, 240, 68);
    float time = 600.0f;
    for (auto _ : state) {
        tunnel.update(time);
        benchmark::DoNotOptimize(tunnel.sections[240].vertices[67]);
        time += 0.05f; // a new phase every frame, as in the demo
    }
}
BENCHMARK(BM_TunnelUpdate)->Unit(benchmark::kMicrosecond);

void BM_Perlin(benchmark::State& state) {
    const Noise noise;
    float s = 60.0f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(noise.perlin(s, 0.0f));
        s += 0.03f;
    }
}
BENCHMARK(BM_Perlin)->Unit(benchmark::kNanosecond);

// One whole frame of a scene, finished by glFinish so that llvmpipe's drawing is counted.
template <typename SceneClass> void sceneFrame(benchmark::State& state) {
    gltest::openDisplay();
    Music music;
    Timer timer;
    SceneClass scene(&timer, &music);
    int tick = 150000;
    for (auto _ : state) {
        gltest::setTick(tick);
        scene.render();
        glFinish();
        tick += 16;
    }
    gltest::restoreTick();
}

void BM_TunnelScene2Frame(benchmark::State& state) {
    sceneFrame<TunnelScene2>(state);
}
BENCHMARK(BM_TunnelScene2Frame)->Unit(benchmark::kMillisecond);

void BM_TunnelSceneFrame(benchmark::State& state) {
    sceneFrame<TunnelScene>(state);
}
BENCHMARK(BM_TunnelSceneFrame)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
