// The tools' frames: the row's catch-up kept unseen, each frame's sound placed, the target timed.
#include "frames/FrameStepper.h"

#include <GL/gl.h>

#include <chrono>

#include "frames/UnseenFrames.h"
#include "main/Timeline.h"

namespace {

// The rate a missing track is placed at: nothing is heard, so any will do.
const int NO_TRACK_RATE = 44100;

} // namespace

FrameStepper::FrameStepper(Timeline* timeline, int fps, bool moveSound)
    : beforeFrame(), everyFrame(false), row(timeline, fps), moveSound(moveSound),
      rate(timeline->music && timeline->music->rate() > 0 ? timeline->music->rate()
                                                          : NO_TRACK_RATE),
      targetDrawMs(0.0) {
    row.beforeFrame = [this, timeline](long long frame) {
        if (this->moveSound && frame >= 0 && timeline->music) {
            timeline->music->seek(row.clock.soundFrameOf(frame, rate), true);
        }
        if (beforeFrame) {
            beforeFrame();
        }
    };
}

bool FrameStepper::seekTo(long long target) {
    row.everyFrame = everyFrame;
    {
        const UnseenFrames unseen;
        if (!row.catchUp(target)) {
            return false;
        }
    }
    const auto begin = std::chrono::steady_clock::now();
    row.drawTarget(target);
    glFinish();
    targetDrawMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    return true;
}
