// The page's drawing buffer: as large as the canvas is shown, in device pixels, and the picture
// drawn through the render scale to fill it.
#pragma once

class CanvasSize {
  public:
    // The size the page asks for (Module.bufferSize: the canvas's shown size in device pixels,
    // within the page's limits); when it differs from the buffer's, the buffer and the render
    // scale take it. Before each frame: a resize, a turned phone or full screen can come at any
    // moment.
    static void follow();
    // The buffer width x height, and the picture drawn to fill it.
    static void set(int width, int height);

  private:
    static int width;
    static int height;
};
