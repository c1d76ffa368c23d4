// The preview tool: the demo's timeline in a window with its sound, played, paused and sought
// from the keyboard, on the tools' virtual clock so that every seek lands on an exact frame.
#pragma once

#include <SDL.h>

#include <chrono>
#include <string>

#include "main/Timeline.h"
#include "preview/Navigation.h"
#include "preview/PreviewOptions.h"
#include "preview/ShownFrame.h"

class FrameStepper;

class Preview {
  public:
    explicit Preview(const PreviewOptions& options);
    ~Preview();

    Preview(const Preview&) = delete;
    Preview& operator=(const Preview&) = delete;

    // Start-up, then frames until a quit key or the window closes; never returns.
    [[noreturn]] void run();

  private:
    void start();
    void handleEvents();
    void handleKey(SDL_keysym* key);
    // One frame of play at the time the wall clock has reached since the last anchor.
    void play();
    // An exact seek to frame (kept on the timeline); the sound follows, playing or held.
    void seek(long long frame);
    void setPaused(bool paused);
    // Every picture read from disk again; back to the same time.
    void reload();
    // The frame on screen (drawn now or kept), the status line when shown, and the swap.
    void present();
    void writeShot() const;
    void printState() const;
    std::string statusText() const;
    // The sound's frame at the time shown: exact frames as the capture places them.
    long long soundFrame() const;
    long long wallMs() const;

    PreviewOptions options;
    Timeline timeline;
    Navigation navigation;
    FrameStepper* stepper;
    ShownFrame shown;
    bool paused;
    bool statusVisible;
    bool drawnNow;         // the back buffer holds the frame just drawn
    long long tick;        // the time shown, ms of the timeline
    long long anchorTick;  // play runs on from here ...
    long long anchorWall;  // ... since this moment of the wall clock, ms
    long long loopEndTick; // play that reaches it goes back to the loop's start
    double frameMs;        // the last scene frame's drawing time
    double seekMs;         // the last seek's time, catch-up included
    double framesPerSecond;
    int framesCounted;
    long long countFrom;
    std::chrono::steady_clock::time_point origin;
};
