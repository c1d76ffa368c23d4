// Reading a drawn 800 x 600 frame back from llvmpipe, as the capture tool does after each frame:
// the byte order asked for, and a pixel-buffer read whose copy is taken one frame later.
#include <benchmark/benchmark.h>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "support/GLContext.h"

namespace {

const int W = 800;
const int H = 600;

// Something on the whole frame, so the read has real pixels to wait for.
void drawFrame(float shade) {
    glClearColor(shade, 0.3f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, shade, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(0.0f, 1.0f);
    glEnd();
}

void readInto(benchmark::State& state, GLenum format) {
    gltest::openDisplay();
    std::vector<uint8_t> pixels(static_cast<size_t>(W) * H * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    float shade = 0.0f;
    for (auto _ : state) {
        drawFrame(shade);
        glReadPixels(0, 0, W, H, format, GL_UNSIGNED_BYTE, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
        shade = shade > 0.9f ? 0.0f : shade + 0.01f;
    }
}

void BM_DrawAndReadRgba(benchmark::State& state) {
    readInto(state, GL_RGBA);
}
BENCHMARK(BM_DrawAndReadRgba)->Unit(benchmark::kMillisecond);

void BM_DrawAndReadBgra(benchmark::State& state) {
    readInto(state, GL_BGRA);
}
BENCHMARK(BM_DrawAndReadBgra)->Unit(benchmark::kMillisecond);

// Two pixel buffers in turn: frame k is read into one while frame k - 1 is copied out of the
// other.
void BM_DrawAndReadThroughPixelBuffers(benchmark::State& state) {
    gltest::openDisplay();
    GLuint buffers[2];
    glGenBuffers(2, buffers);
    for (GLuint b : buffers) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, b);
        glBufferData(GL_PIXEL_PACK_BUFFER, W * H * 4, nullptr, GL_STREAM_READ);
    }
    std::vector<uint8_t> pixels(static_cast<size_t>(W) * H * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    float shade = 0.0f;
    int frame = 0;
    for (auto _ : state) {
        drawFrame(shade);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[frame % 2]);
        glReadPixels(0, 0, W, H, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (frame > 0) {
            glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[(frame + 1) % 2]);
            const void* mapped = glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY);
            if (mapped) {
                memcpy(pixels.data(), mapped, pixels.size());
            }
            glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
        }
        benchmark::DoNotOptimize(pixels.data());
        shade = shade > 0.9f ? 0.0f : shade + 0.01f;
        ++frame;
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    glDeleteBuffers(2, buffers);
}
BENCHMARK(BM_DrawAndReadThroughPixelBuffers)->Unit(benchmark::kMillisecond);

// The drawing alone, finished, for the difference.
void BM_DrawOnly(benchmark::State& state) {
    gltest::openDisplay();
    float shade = 0.0f;
    for (auto _ : state) {
        drawFrame(shade);
        glFinish();
        shade = shade > 0.9f ? 0.0f : shade + 0.01f;
    }
}
BENCHMARK(BM_DrawOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
