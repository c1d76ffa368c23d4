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

void FrameShots::run(const char* times, bool everyFrame, int width, int height) {
    FrameClock::install();
    Music::useManualOutput(true);
    // Never deleted: the page's runtime ends with the entry, as the demo ends with everything
    // alive.
    Timeline* timeline = new Timeline();
    timeline->start(RenderScale::WIDTH, RenderScale::HEIGHT, false);
    CanvasSize::set(width, height);

    RowStepper row(timeline, FrameClock::DEFAULT_FPS);
    row.everyFrame = everyFrame;
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    const char* at = times;
    while (*at) {
        char* end = nullptr;
        const double seconds = strtod(at, &end);
        if (end == at) {
            return;
        }
        at = *end == ',' ? end + 1 : end;
        const long long target = row.clock.frameAt(seconds);
        const auto begin = std::chrono::steady_clock::now();
        // Frames drawn before the target are overwritten by it: no scene reads the framebuffer.
        if (!row.catchUp(target)) {
            continue;
        }
        row.drawTarget(target);
        // Read within the task that drew it: the page keeps no drawing buffer after it ends.
        // The read waits for the drawing, so the time is the row's.
        emscripten_glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - begin;
        const std::string pixels = base64(rgba);
        EM_ASM(
            {
                if (Module['onShot'])
                    Module['onShot']($0, UTF8ToString($1), $2, $3);
            },
            seconds, pixels.c_str(), took.count(), static_cast<double>(row.framesRendered()));
    }
}
