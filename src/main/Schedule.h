// The demo's schedule: the scene of every slot and the seconds it is shown, as constant data
// that tools read without linking the scenes; the scenes themselves are made, and their catch-up
// rules declared, in Schedule.cpp. The scenes' names stand here alone.
#pragma once

#include "main/CatchUp.h"

class Music;
class Scene;
class Timer;

class Schedule {
  public:
    struct Slot {
        const char* name; // the scene's class
        float start;      // seconds of the timeline; every bound belongs to the later slot
        float end;
    };

    static constexpr int SLOT_COUNT = 8;
    static constexpr Slot slots[SLOT_COUNT] = {
        {"Preface", 0.0f, 26.0f},     {"Intro", 26.0f, 90.0f},
        {"Test", 90.0f, 122.0f},      {"TunnelScene2", 122.0f, 170.0f},
        {"Spectrum", 170.0f, 194.0f}, {"TunnelScene", 194.0f, 226.0f},
        {"Creds", 226.0f, 249.0f},    {"Sex", 249.0f, 266.0f}};
    // The timeline ends here: the frame that reaches it quits instead of drawing.
    static constexpr float END = slots[SLOT_COUNT - 1].end;
    // The scenes made on demand (the capture's --scene), which have no slot.
    static constexpr int UNSCHEDULED_COUNT = 2;
    static constexpr const char* unscheduled[UNSCHEDULED_COUNT] = {"Tunnel1", "Tunnel2"};

    // The slot shown at timeline time t, or SLOT_COUNT once the timeline has ended. The first
    // slot whose end lies strictly above t, so a NaN reaches the end.
    static constexpr int slotAt(float t) {
        for (int slot = 0; slot < SLOT_COUNT; ++slot) {
            if (slots[slot].end > t) {
                return slot;
            }
        }
        return SLOT_COUNT;
    }

    // Whether name is a scene createScene makes: the eight of the slots and the unscheduled.
    static bool isScene(const char* name);
    // A new scene of the named class, or null for an unknown name.
    static Scene* createScene(const char* name, Timer* timer, Music* music);
    // How a seek catches up a row of the named scene; every frame drawn for an unknown name.
    static const CatchUp::Rule& catchUpOf(const char* name);
};
