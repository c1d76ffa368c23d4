// How every scene of the schedule, and the two that have no slot, is made.
#include "main/Schedule.h"

#include <cstring>

#include "scenes/Creds.h"
#include "scenes/Intro.h"
#include "scenes/Preface.h"
#include "scenes/Sex.h"
#include "scenes/SceneSpectrum.h"
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

struct Maker {
    const char* name;
    Scene* (*create)(Timer*, Music*);
};

const Maker MAKERS[] = {{"Preface", &make<Preface>},   {"Intro", &make<Intro>},
                        {"Test", &make<Test>},         {"TunnelScene2", &make<TunnelScene2>},
                        {"Spectrum", &make<Spectrum>}, {"TunnelScene", &make<TunnelScene>},
                        {"Creds", &make<Creds>},       {"Sex", &make<Sex>},
                        {"Tunnel1", &make<Tunnel1>},   {"Tunnel2", &make<Tunnel2>}};

const Maker* find(const char* name) {
    for (const Maker& maker : MAKERS) {
        if (name && strcmp(name, maker.name) == 0) {
            return &maker;
        }
    }
    return nullptr;
}

} // namespace

bool Schedule::isScene(const char* name) {
    return find(name) != nullptr;
}

Scene* Schedule::createScene(const char* name, Timer* timer, Music* music) {
    const Maker* maker = find(name);
    return maker ? maker->create(timer, music) : nullptr;
}
