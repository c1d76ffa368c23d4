// The one full-screen OpenGL display, the keyboard, and the one way the process ends.
#pragma once

#include <SDL.h>

class SDLWindow {
  public:
    // fullScreen: how the display starts; the demo starts full screen, the preview in a window.
    explicit SDLWindow(bool fullScreen = true);
    ~SDLWindow() {} // both pointers belong to SDL

    SDLWindow(const SDLWindow&) = delete;
    SDLWindow& operator=(const SDLWindow&) = delete;

    // Opens the display (800 x 600 unless argv gives width and height, which it prints), or
    // ends with status 1.
    void init(char* caption, int argc, char** argv);
    // Opens a display of width x height, printing nothing when it opens (the tools' start).
    void init(char* caption, int width, int height);
    // Drains the event queue: keys, and the window closing.
    void process_events();
    void handle_key_down(SDL_keysym* keysym);
    // Shuts SDL down and ends the process; never returns.
    [[noreturn]] void quit(int status);

    SDL_Surface* surface;
    const SDL_VideoInfo* videoInfo;
    bool fullScreen; // the mode init opens, not the mode f toggles to
};
