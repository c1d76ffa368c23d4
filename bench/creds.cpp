// One frame of the credits scene (background, mask and colour passes, scroll step), finished.
#include <benchmark/benchmark.h>
#include <GL/gl.h>
#include <unistd.h>

#include "platform/Timer.h"
#include "scenes/Creds.h"
#include "scenes/Scroll.h"
#include "support/GLContext.h"

namespace {

void CredsFrame(benchmark::State& state) {
    gltest::openDisplay();
    // The generated pictures when they have been built; plain colour otherwise.
    if (chdir(VQ_DATA_DIR) != 0) {
        state.counters["no_data"] = 1.0;
    }
    int tick = 1000;
    gltest::setTick(tick);
    Timer timer;
    Creds scene(&timer, nullptr);
    // Mid-line: the screen full of glyphs.
    scene.scroll->scrollX = 0.0f;
    for (auto _ : state) {
        tick += 17;
        gltest::setTick(tick);
        scene.render();
        glFinish();
        if (scene.scroll->firstChar > 60) {
            scene.scroll->firstChar = 0;
        }
    }
    gltest::restoreTick();
}
BENCHMARK(CredsFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
