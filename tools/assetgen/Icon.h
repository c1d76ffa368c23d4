// The application icon: the yellow wire tube bending into its light above the red bars.
#pragma once

#include <string>

#include "assetgen/Canvas.h"

class Icon {
  public:
    static constexpr int MIN_SIZE = 16;
    static constexpr int MAX_SIZE = 1024;

    // The icon at size x size pixels on a transparent ground. Strokes never get thinner than
    // about a pixel, so the small sizes keep the tube's lines instead of fading them out.
    static Canvas make(int size);
    // "assetgen --icon SIZE FILE": writes the icon as an RGBA PNG; the process's exit status
    // (2 for a size outside MIN_SIZE to MAX_SIZE, 1 when the file cannot be written).
    static int writeCommand(const char* sizeText, const std::string& path);
};
