// The start-up order, the eight scenes of the schedule, the frame step and the frame loop,
// shared by the demo's entry and the tools.
#pragma once

#include <chrono>

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
    // The demo's: full screen, of the size the command line gives (printed), else 800 x 600.
    void start(int argc, char** argv);
    // The same start-up with a display of width x height, for the tools.
    void start(int width, int height, bool fullScreen);
    // The same start-up up to the track playing, without the wait: a loop that must hand
    // control back between frames (the browser's) then calls audioStarted once a pass.
    void startPlaying(int width, int height, bool fullScreen);
    // One pass of the start-up wait for the first audible sound: false while it goes on. Once
    // the track is heard, none plays, or the wait has reached its limit (counted from play),
    // the clock starts (t = 0) and this and every later call return true.
    bool audioStarted();
    // One frame of the timeline: the tick sampled, the keys handled, the frame drawn into the
    // back buffer; the frame that reaches the timeline's end ends the demo instead
    // (SDLWindow::quit). Returns the slot drawn. The caller presents the frame.
    int frame();
    // The frame loop: frames presented until the timeline ends or a quit key; never returns.
    [[noreturn]] void run();

    // One frame at the tick last sampled: the slot it falls in, and that slot's frame drawn
    // into the back buffer. Returns the slot drawn, or SLOT_COUNT once the timeline has ended,
    // with nothing drawn.
    int step();
    // The next step enters its slot anew, even the slot of the frame before (a tool drawing
    // a slot again from its start).
    void leaveSlot() { lastSlot = -1; }
    // Whether the next step, if it falls in slot, enters it anew with a scene that has drawn
    // before (a tool going back): a run has a new scene there, so the tool makes one first.
    bool entersDrawnSlot(int slot) const { return slot != lastSlot && drawn[slot]; }
    // Replaces slot's scene with a new one, its clocks starting at the tick last sampled; the
    // pictures are read again. Made as start-up made it when that tick is startupTick() (the
    // tunnels never restart their clocks).
    void remakeScene(int slot);
    // The tick of start-up's first sample, at which every scene was made.
    int startupTick() const { return startTick; }
    // Draws slot's frame into the back buffer (black while the slot has no scene).
    void renderSlot(int slot);
    // Draws one frame of the named scene; the builds that check report an OpenGL error it left.
    static void renderScene(Scene* scene, const char* name);

    SDLWindow* window;
    Timer* timer;
    Music* music;
    Scene* scenes[Schedule::SLOT_COUNT];

  private:
    void open(int width, int height, bool fullScreen);
    void load();
    void loadAndPlay();
    // Whether the start-up wait ends, waited seconds after play.
    bool audioWaitOver(double waited);

    int startTick;                                // the tick of start-up's first sample
    bool clockStarted;                            // the start-up wait is over: t = 0 has been set
    std::chrono::steady_clock::time_point played; // when the track was asked to play
    int lastSlot;                                 // the slot of the last step; -1 for none
    bool drawn[Schedule::SLOT_COUNT];             // the slot's scene has drawn since it was made
};
