// How every scene of the schedule, and those that have no slot, is made, and how a seek catches
// each of them up to a frame.
#include "main/Schedule.h"

#include <cstring>

#include "scenes/Creds.h"
#include "scenes/Intro.h"
#include "scenes/Preface.h"
#include "scenes/SceneSpectrum.h"
#include "scenes/Sex.h"
#include "scenes/Test.h"
#include "scenes/Tunnel1.h"
#include "scenes/Tunnel2.h"
#include "scenes/TunnelScene.h"
#include "scenes/TunnelScene2.h"

namespace {

constexpr bool slotsFollowOneAnother() {
    for (int slot = 1; slot < Schedule::SLOT_COUNT; ++slot) {
        if (Schedule::slots[slot].start != Schedule::slots[slot - 1].end) {
            return false;
        }
    }
    return Schedule::slots[0].start == 0.0f;
}
static_assert(slotsFollowOneAnother(), "the timeline starts at 0 and has no gap between slots");

template <class S> Scene* make(Timer* timer, Music* music) {
    return new S(timer, music);
}

void advanceScroll(Scene* scene) {
    static_cast<Creds*>(scene)->advanceScroll();
}

struct SceneKind {
    Scene* (*create)(Timer*, Music*);
    CatchUp::Rule catchUp;
};

const CatchUp::Rule ONLY_FIRST_AND_PREVIOUS = {CatchUp::FIRST_AND_PREVIOUS, 0.0f, nullptr};

// The scenes of the slots in their order, then the unscheduled ones, each with its rule.
const SceneKind KINDS[] = {
    // Preface: the cards' shapes follow the spectrum of their own frame, except the Quisp card
    // drawn alone (from 10 s of the scene): it reads the spectrum buffer as the last Vorrel card
    // filled it, and nothing fetches it in between.
    {&make<Preface>, {CatchUp::HELD_SPECTRUM, Preface::VORREL_END, nullptr}},
    // Intro: the bars' camera shot and fade follow the scene clock, their heights the frame's
    // own spectrum.
    {&make<Intro>, ONLY_FIRST_AND_PREVIOUS},
    // Test: cards placed by the scene clock alone.
    {&make<Test>, ONLY_FIRST_AND_PREVIOUS},
    // TunnelScene2: the wire tunnel re-walks every ring from its clock (running since the scene
    // was made) before it draws them.
    {&make<TunnelScene2>, ONLY_FIRST_AND_PREVIOUS},
    // Spectrum: as Intro.
    {&make<Spectrum>, ONLY_FIRST_AND_PREVIOUS},
    // TunnelScene: the solid tunnel's eye follows ring 70 as the previous frame's update left
    // it, before this frame's update moves it: the frame before the target is needed here in
    // any case. Every update re-places every ring, so frames further back leave nothing.
    {&make<TunnelScene>, ONLY_FIRST_AND_PREVIOUS},
    // Creds: the scroller moves by the clock's interval every frame and drops a glyph at
    // discrete points: every frame's step is taken, in order, at its own tick, nothing drawn.
    {&make<Creds>, {CatchUp::SCROLLER, 0.0f, &advanceScroll}},
    // Sex: cards placed by the scene clock alone.
    {&make<Sex>, ONLY_FIRST_AND_PREVIOUS},
    // Tunnel1: the wire tunnel re-walked from its clock, started on its first frame.
    {&make<Tunnel1>, ONLY_FIRST_AND_PREVIOUS},
    // Tunnel2: a still picture, no state at all.
    {&make<Tunnel2>, ONLY_FIRST_AND_PREVIOUS}};
static_assert(sizeof(KINDS) / sizeof(KINDS[0]) ==
                  Schedule::SLOT_COUNT + Schedule::UNSCHEDULED_COUNT,
              "one kind for every slot and every unscheduled scene");

const char* nameOf(int kind) {
    return kind < Schedule::SLOT_COUNT ? Schedule::slots[kind].name
                                       : Schedule::unscheduled[kind - Schedule::SLOT_COUNT];
}

const SceneKind* find(const char* name) {
    for (int kind = 0; kind < Schedule::SLOT_COUNT + Schedule::UNSCHEDULED_COUNT; ++kind) {
        if (name && strcmp(name, nameOf(kind)) == 0) {
            return &KINDS[kind];
        }
    }
    return nullptr;
}

} // namespace

bool Schedule::isScene(const char* name) {
    return find(name) != nullptr;
}

Scene* Schedule::createScene(const char* name, Timer* timer, Music* music) {
    const SceneKind* kind = find(name);
    return kind ? kind->create(timer, music) : nullptr;
}

const CatchUp::Rule& Schedule::catchUpOf(const char* name) {
    const SceneKind* kind = find(name);
    return kind ? kind->catchUp : CatchUp::ALL_FRAMES;
}
