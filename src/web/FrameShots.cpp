// The page's frames at given times: the frame grid, each slot's frames taken in a row.
#include "web/FrameShots.h"

#include <GL/gl.h>
#include <emscripten.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/RenderScale.h"
#include "main/FrameClock.h"
#include "main/RowStepper.h"
#include "main/Timeline.h"
#include "web/CanvasSize.h"

// Reading pixels back is the page's, not the demo's: it is no call of our GL layer.
extern "C" void emscripten_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height,
                                        GLenum format, GLenum type, void* pixels);

namespace {

std::string base64(const std::vector<unsigned char>& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const unsigned b0 = bytes[i];
        const unsigned b1 = i + 1 < bytes.size() ? bytes[i + 1] : 0;
        const unsigned b2 = i + 2 < bytes.size() ? bytes[i + 2] : 0;
        const unsigned v = b0 << 16 | b1 << 8 | b2;
        out += digits[v >> 18 & 63];
        out += digits[v >> 12 & 63];
        out += i + 1 < bytes.size() ? digits[v >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? digits[v & 63] : '=';
    }
    return out;
}

} // namespace

namespace {

// One run of the test frames: what is left to take, and where. The times are copied: the
// entry's arguments are gone once it returns, and the frames are taken after.
struct ShotRun {
    ShotRun(Timeline* timeline, const char* times, int width, int height)
        : row(timeline, FrameClock::DEFAULT_FPS), times(times), next(0), width(width),
          height(height), rgba(static_cast<size_t>(width) * height * 4) {}

    RowStepper row;
    std::string times;
    size_t next; // where the times not yet taken begin
    int width;
    int height;
    std::vector<unsigned char> rgba;
};

// The next frame, in a task of its own, so that the page can act between two (its context lost
// and given back); the page holds the next while Module.holdShots is set. The last ends the run.
void takeNext(void* arg) {
    ShotRun* run = static_cast<ShotRun*>(arg);
    if (EM_ASM_INT({ return Module['holdShots'] ? 1 : 0; })) {
        return;
    }
    const char* at = run->times.c_str() + run->next;
    char* end = nullptr;
    const double seconds = strtod(at, &end);
    if (end == at) {
        emscripten_cancel_main_loop();
        emscripten_force_exit(0);
        return;
    }
    run->next = static_cast<size_t>((*end == ',' ? end + 1 : end) - run->times.c_str());
    RowStepper& row = run->row;
    const long long target = row.clock.frameAt(seconds);
    const auto begin = std::chrono::steady_clock::now();
    // Frames drawn before the target are overwritten by it: no scene reads the framebuffer.
    if (!row.catchUp(target)) {
        return;
    }
    row.drawTarget(target);
    // Read within the task that drew it: the page keeps no drawing buffer after it ends.
    // The read waits for the drawing, so the time is the row's.
    emscripten_glReadPixels(0, 0, run->width, run->height, GL_RGBA, GL_UNSIGNED_BYTE,
                            run->rgba.data());
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - begin;
    const std::string pixels = base64(run->rgba);
    EM_ASM(
        {
            if (Module['onShot'])
                Module['onShot']($0, UTF8ToString($1), $2, $3);
        },
        seconds, pixels.c_str(), took.count(), static_cast<double>(row.framesRendered()));
}

} // namespace

void FrameShots::run(const char* times, bool everyFrame, int width, int height) {
    FrameClock::install();
    Music::useManualOutput(true);
    // Never deleted: the page's runtime ends with the last frame, as the demo ends with
    // everything alive.
    Timeline* timeline = new Timeline();
    timeline->start(RenderScale::WIDTH, RenderScale::HEIGHT, false);
    CanvasSize::set(width, height);
    ShotRun* run = new ShotRun(timeline, times, width, height);
    run->row.everyFrame = everyFrame;
    emscripten_set_main_loop_arg(&takeNext, run, 0, 0);
}
