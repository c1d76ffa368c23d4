// Whether the display just set up can be drawn on: a desktop's SDL fails the video mode itself
// where it has no OpenGL context to give, a page's SDL hands back a surface even where the
// browser refuses WebGL.
#pragma once

class DrawingContext {
  public:
    // True once SDL_SetVideoMode has made a context that OpenGL calls draw into.
    static bool made();
};
