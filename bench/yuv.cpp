// A video frame's colours on llvmpipe: the capture's GPU conversion to yuv420p and its 1.5 bytes a
// pixel read back, beside the plain RGBA read-back and ffmpeg's scaler doing the same work.
#include <benchmark/benchmark.h>

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>
#include <cstdio>
#include <sys/resource.h>
#include <string>
#include <vector>

#include "gl/VideoColour.h"
#include "gl/YuvConverter.h"
#include "support/GLContext.h"

namespace {

// A frame of fine detail in strong colours, in a framebuffer as the capture's.
struct Frame {
    GLuint fbo = 0;
    GLuint colour = 0;

    Frame(int w, int h) {
        gltest::openDisplay();
        glGenRenderbuffers(1, &colour);
        glBindRenderbuffer(GL_RENDERBUFFER, colour);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        glViewport(0, 0, w, h);
        glClearColor(0.1f, 0.2f, 0.9f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 64; ++i) {
            const float x = -1.0f + static_cast<float>(i) / 32.0f;
            glColor3f(static_cast<float>(i % 2), static_cast<float>(i % 3) / 2.0f, 0.0f);
            glVertex2f(x, -1.0f);
            glVertex2f(x + 0.03f, 1.0f);
            glVertex2f(x + 0.01f, 0.0f);
        }
        glEnd();
        glFinish();
    }
    ~Frame() {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(1, &colour);
    }
};

int widthOf(const benchmark::State& state) {
    return static_cast<int>(state.range(0));
}
int heightOf(const benchmark::State& state) {
    return static_cast<int>(state.range(1));
}

// The conversion finished, then the planes read back, as the capture does for H.264.
void BM_GpuYuvConvertAndRead(benchmark::State& state) {
    const int w = widthOf(state), h = heightOf(state);
    Frame frame(w, h);
    const VideoColour colour = VideoColour::forHeight(h);
    YuvConverter converter;
    std::string error;
    if (!converter.create(w, h, colour.kr, colour.kb, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    std::vector<uint8_t> planes(converter.bytes());
    for (auto _ : state) {
        converter.convert(frame.fbo);
        converter.read(planes.data());
        benchmark::DoNotOptimize(planes.data());
    }
}
BENCHMARK(BM_GpuYuvConvertAndRead)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// The RGBA read-back the H.264 capture made before, for the difference.
void BM_RgbaRead(benchmark::State& state) {
    const int w = widthOf(state), h = heightOf(state);
    Frame frame(w, h);
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}
BENCHMARK(BM_RgbaRead)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

// ffmpeg's scaler on the same frames, as the H.264 capture used it before (RGBA bottom first,
// flipped, converted), beside ffmpeg taking the RGBA frames with nothing to do, and taking
// yuv420p frames as the capture now hands them over: 120 frames through a pipe each time,
// ffmpeg's processor time per frame in the counters.
double ffmpegMsPerFrame(const std::vector<uint8_t>& pixels, const char* format, int w, int h,
                        const std::string& vf, int frames) {
    const std::string command = std::string("ffmpeg -v error -f rawvideo -pix_fmt ") + format +
                                " -video_size " + std::to_string(w) + "x" + std::to_string(h) +
                                " -i pipe:0 " + vf + " -f null - 2>/dev/null";
    struct rusage before, after;
    getrusage(RUSAGE_CHILDREN, &before);
    FILE* pipe = popen(command.c_str(), "w");
    if (!pipe) {
        return -1.0;
    }
    for (int i = 0; i < frames; ++i) {
        fwrite(pixels.data(), 1, pixels.size(), pipe);
    }
    pclose(pipe);
    getrusage(RUSAGE_CHILDREN, &after);
    const double seconds =
        static_cast<double>(after.ru_utime.tv_sec - before.ru_utime.tv_sec) +
        static_cast<double>(after.ru_stime.tv_sec - before.ru_stime.tv_sec) +
        1e-6 * static_cast<double>(after.ru_utime.tv_usec - before.ru_utime.tv_usec) +
        1e-6 * static_cast<double>(after.ru_stime.tv_usec - before.ru_stime.tv_usec);
    return seconds * 1000.0 / frames;
}

void BM_FfmpegScaler(benchmark::State& state) {
    const int w = widthOf(state), h = heightOf(state);
    Frame frame(w, h);
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    const std::string scale = std::string("-vf 'vflip,scale=out_color_matrix=") +
                              VideoColour::forHeight(h).matrix +
                              ":out_range=tv:flags=bicubic+accurate_rnd,format=yuv420p'";
    const int frames = 120;
    // The same frames as yuv420p planes, as the capture hands them over now.
    const std::vector<uint8_t> planes(pixels.begin(), pixels.begin() + (pixels.size() * 3 / 8));
    double converting = 0.0, passing = 0.0, takingYuv = 0.0;
    for (auto _ : state) {
        converting += ffmpegMsPerFrame(pixels, "rgba", w, h, scale, frames);
        passing += ffmpegMsPerFrame(pixels, "rgba", w, h, "-vf vflip", frames);
        takingYuv += ffmpegMsPerFrame(planes, "yuv420p", w, h, "", frames);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["ffmpeg_ms_converting"] = converting / runs;
    state.counters["ffmpeg_ms_passing"] = passing / runs;
    state.counters["ffmpeg_ms_taking_yuv"] = takingYuv / runs;
}
BENCHMARK(BM_FfmpegScaler)
    ->Args({800, 600})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

} // namespace

BENCHMARK_MAIN();
