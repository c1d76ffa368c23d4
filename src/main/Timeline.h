// The schedule of the eight scenes, the start-up order and the slot choice, shared by the
// demo's entry and the capture tool.
#pragma once

#include "platform/Music.h"
#include "platform/SDLWindow.h"
#include "platform/Timer.h"
#include "scenes/Scene.h"

class Timeline {
  public:
    static constexpr int SLOT_COUNT = 8;
    // Upper bounds of the slots in seconds; every bound belongs to the later slot.
    static const float bounds[SLOT_COUNT];
    static const char* const slotNames[SLOT_COUNT];
    // Longest start-up wait for the first audible sound, in seconds.
    static const double AUDIO_WAIT_LIMIT;

    // The slot shown at timeline time t, or SLOT_COUNT once the timeline has ended.
    static int slotAt(float t);
    // A new scene of the named class (the eight of the schedule, Tunnel1, Tunnel2), or null.
    static Scene* createScene(const char* name, Timer* timer, Music* music);

    Timeline();
    ~Timeline() {} // the demo never ends through a destructor: see SDLWindow::quit

    Timeline(const Timeline&) = delete;
    Timeline& operator=(const Timeline&) = delete;

    // Start-up: first tick, display, clocks, track, the eight scenes, play, wait, t = 0.
    void start(int argc, char** argv);
    // The frame loop: runs until the timeline ends or a quit key; never returns.
    [[noreturn]] void run();
    // Draws slot's frame into the back buffer (black while the slot has no scene).
    void renderSlot(int slot);

    SDLWindow* window;
    Timer* timer;
    Music* music;
    Scene* scenes[SLOT_COUNT];

  private:
    void waitForAudio();
};
