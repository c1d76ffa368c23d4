// Each scene's catch-up rule and the reason for it.
#include "CatchUp.h"

#include <cstring>

#include "platform/Timer.h"
#include "scenes/Creds.h"
#include "scenes/Preface.h"

namespace {

// Two frames of every row are drawn. The first: the lazy scenes set up their camera and restart
// their clock there, the tunnel scenes set their camera once; the GL state a frame leaves is the
// same after every frame of a scene, so the first frame's stands for any other's. The one before
// the target: llvmpipe keeps a trace of the last frame it drew, so a frame drawn right after a
// seen one (an earlier seek's target) can come out a level off in places, as the bars did after
// their slot's second frame; drawn unseen just before the target, as a run has it, it cannot.
// Beyond those two:
struct SceneRule {
    const char* name;
    CatchUp::Rule rule;
};

const SceneRule RULES[] = {
    // The cards' shapes follow the spectrum of their own frame, except the Quisp card drawn
    // alone (10 to 14 s): it reads the spectrum buffer as the last Vorrel card filled it, and
    // nothing fetches it in between.
    {"Preface", CatchUp::HELD_SPECTRUM},
    // The bars' camera shot and fade follow the scene clock, their heights the frame's own
    // spectrum.
    {"Intro", CatchUp::FIRST_AND_PREVIOUS},
    {"Spectrum", CatchUp::FIRST_AND_PREVIOUS},
    // Cards placed by the scene clock alone.
    {"Test", CatchUp::FIRST_AND_PREVIOUS},
    {"Sex", CatchUp::FIRST_AND_PREVIOUS},
    // The wire tunnels re-walk every ring from their clock before they draw them (TunnelScene2's
    // runs since the scene was made, Tunnel1's from its first frame); Tunnel2, a still picture,
    // has no state at all.
    {"TunnelScene2", CatchUp::FIRST_AND_PREVIOUS},
    {"Tunnel1", CatchUp::FIRST_AND_PREVIOUS},
    {"Tunnel2", CatchUp::FIRST_AND_PREVIOUS},
    // The solid tunnel's eye follows ring 70 as the previous frame's update left it, before
    // this frame's update moves it: the frame before the target is needed here in any case.
    // Every update re-places every ring, so frames further back leave nothing.
    {"TunnelScene", CatchUp::FIRST_AND_PREVIOUS},
    // The scroller moves by the clock's interval every frame and drops a glyph at discrete
    // points: every frame's step is taken, in order, at its own tick, with nothing drawn.
    {"Creds", CatchUp::SCROLLER},
};

} // namespace

CatchUp::CatchUp(const char* sceneName, const FrameClock& clock, long long start, long long target)
    : clock(clock), start(start), target(target), rule(ruleOf(sceneName)), heldFrame(-1) {
    if (rule == HELD_SPECTRUM) {
        heldFrame = lastVorrelFrame();
    }
}

CatchUp::Rule CatchUp::ruleOf(const char* sceneName) {
    for (const SceneRule& entry : RULES) {
        if (sceneName && strcmp(sceneName, entry.name) == 0) {
            return entry.rule;
        }
    }
    return EVERY_FRAME;
}

CatchUp::Work CatchUp::work(long long frame) const {
    if (frame == start || frame == target - 1) {
        return DRAW;
    }
    switch (rule) {
    case FIRST_AND_PREVIOUS:
        return SKIP;
    case HELD_SPECTRUM:
        return frame == heldFrame ? DRAW : SKIP;
    case SCROLLER:
        return STEP;
    case EVERY_FRAME:
        break;
    }
    return DRAW;
}

bool CatchUp::step(Scene* scene) {
    Creds* creds = dynamic_cast<Creds*>(scene);
    if (!creds) {
        return false;
    }
    creds->advanceScroll();
    return true;
}

float CatchUp::sceneSeconds(long long frame) const {
    // Read through a Timer, so the arithmetic is the scene clock's own; the tick is given back.
    const int now = Timer::currentTime;
    Timer::currentTime = static_cast<int>(clock.tickOf(start));
    const Timer sceneClock;
    Timer::currentTime = static_cast<int>(clock.tickOf(frame));
    const float seconds = sceneClock.getElapsedTime();
    Timer::currentTime = now;
    return seconds;
}

long long CatchUp::lastVorrelFrame() const {
    if (sceneSeconds(target) < Preface::VORREL_END) {
        return -1;
    }
    for (long long frame = target - 1; frame >= start; --frame) {
        if (sceneSeconds(frame) < Preface::VORREL_END) {
            return frame;
        }
    }
    return -1;
}
