// The start-up order, the eight scenes of the schedule and the frame loop, shared by the demo's
// entry and the capture tool.
#pragma once

#include "main/Schedule.h"
#include "platform/Music.h"
#include "platform/SDLWindow.h"
#include "platform/Timer.h"
#include "scenes/Scene.h"

class Timeline {
  public:
    // Longest start-up wait for the first audible sound, in seconds.
    static const double AUDIO_WAIT_LIMIT;

    Timeline();
    // Releases what start made, the last made first. The demo never gets here (it ends in
    // SDLWindow::quit with everything alive); a tool or a test that is done with it does.
    ~Timeline();

    Timeline(const Timeline&) = delete;
    Timeline& operator=(const Timeline&) = delete;

    // Start-up: first tick, display, clocks, track, the eight scenes, play, wait, t = 0.
    // The display starts full screen, as the demo's does, unless a tool asks for a window.
    void start(int argc, char** argv, bool fullScreen = true);
    // Replaces slot's scene with a new one made as start-up makes it (for a tool that reloads
    // the pictures or draws a slot again from its start). Its clocks start at the last tick
    // sampled: the caller samples the tick start-up had, for the tunnels' clocks.
    void remakeScene(int slot);
    // The frame loop: runs until the timeline ends or a quit key; never returns.
    [[noreturn]] void run();
    // Draws slot's frame into the back buffer (black while the slot has no scene).
    void renderSlot(int slot);
    // Draws one frame of the named scene; the builds that check report an OpenGL error it left.
    static void renderScene(Scene* scene, const char* name);

    SDLWindow* window;
    Timer* timer;
    Music* music;
    Scene* scenes[Schedule::SLOT_COUNT];

  private:
    void waitForAudio();
};
