// A frame size on a tool's command line: "WxH" in pixels.
#pragma once

class FrameSize {
  public:
    // The largest side the command line accepts; the driver's own limits come later, with a
    // context to ask.
    static const int MAX_SIDE = 65536;

    // "WxH": two whole numbers from 1 to MAX_SIDE, nothing else (no sign, space or exponent).
    // On anything else returns false and leaves width and height as they were.
    static bool parse(const char* text, int& width, int& height);
};
