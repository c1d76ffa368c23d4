// The page's frames at given times: the frame grid, each slot's frames taken in a row.
#include "web/FrameShots.h"

#include <GL/gl.h>
#include <emscripten.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/RenderScale.h"
#include "main/CatchUp.h"
#include "main/FrameClock.h"
#include "main/Timeline.h"
#include "platform/ManualTick.h"

// Reading pixels back is the page's, not the demo's: it is no call of our GL layer.
extern "C" void emscripten_glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height,
                                        GLenum format, GLenum type, void* pixels);

namespace {

const int FPS = 60;

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

// Takes the frames of target's row from where it stands (next: the frame after the last one
// taken) up to target, as the slot's catch-up rule says (every frame drawn with everyFrame);
// returns how many were drawn. Frames drawn before the target are overwritten by it: no scene
// reads the framebuffer.
long long drawRow(Timeline* timeline, const FrameClock& clock, long long target, bool everyFrame,
                  long long* next) {
    static const CatchUp::Rule EVERY_FRAME = {CatchUp::EVERY_FRAME, 0.0f, nullptr};
    const int slot = clock.slotOfFrame(target);
    const long long start = clock.firstFrameOfSlot(target);
    const long long first = CatchUp::firstToTake(*next, start, target);
    if (first == start) {
        timeline->leaveSlot();
    }
    const CatchUp catchUp(everyFrame ? EVERY_FRAME
                                     : Schedule::catchUpOf(Schedule::slots[slot].name),
                          clock, start, target);
    long long drawn = 0;
    for (long long frame = first; frame <= target; ++frame) {
        const CatchUp::Work work = frame < target ? catchUp.work(frame) : CatchUp::DRAW;
        if (work == CatchUp::SKIP) {
            continue;
        }
        ManualTick::set(clock.tickOf(frame));
        if (work == CatchUp::STEP) {
            Timer::update();
            catchUp.step(timeline->scenes[slot]);
            continue;
        }
        timeline->frame();
        glFlush();
        ++drawn;
    }
    *next = target + 1;
    return drawn;
}

} // namespace

void FrameShots::run(const char* times, bool everyFrame) {
    FrameClock::install();
    Music::useManualOutput(true);
    // Never deleted: the page's runtime ends with the entry, as the demo ends with everything
    // alive.
    Timeline* timeline = new Timeline();
    timeline->start(RenderScale::WIDTH, RenderScale::HEIGHT, false);

    const FrameClock clock(FPS);
    std::vector<unsigned char> rgba(RenderScale::WIDTH * RenderScale::HEIGHT * 4);
    long long next = -1;
    const char* at = times;
    while (*at) {
        char* end = nullptr;
        const double seconds = strtod(at, &end);
        if (end == at) {
            return;
        }
        at = *end == ',' ? end + 1 : end;
        const long long target = clock.frameAt(seconds);
        if (clock.slotOfFrame(target) == Schedule::SLOT_COUNT) {
            continue;
        }
        const auto begin = std::chrono::steady_clock::now();
        const long long drawn = drawRow(timeline, clock, target, everyFrame, &next);
        // Read within the task that drew it: the page keeps no drawing buffer after it ends.
        // The read waits for the drawing, so the time is the row's.
        emscripten_glReadPixels(0, 0, RenderScale::WIDTH, RenderScale::HEIGHT, GL_RGBA,
                                GL_UNSIGNED_BYTE, rgba.data());
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - begin;
        const std::string pixels = base64(rgba);
        EM_ASM(
            {
                if (Module['onShot'])
                    Module['onShot']($0, UTF8ToString($1), $2, $3);
            },
            seconds, pixels.c_str(), took.count(), static_cast<double>(drawn));
    }
}
