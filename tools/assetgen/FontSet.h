// The typefaces the pictures are lettered in, loaded once.
#pragma once

#include <string>

#include "assetgen/TextRasterizer.h"

class FontSet {
  public:
    explicit FontSet(const std::string& directory)
        : bold(directory + "/DejaVuSans-Bold.ttf"),
          condensed(directory + "/DejaVuSansCondensed-Bold.ttf"),
          serifItalic(directory + "/DejaVuSerif-BoldItalic.ttf") {}

    bool ok() const { return bold.ok() && condensed.ok() && serifItalic.ok(); }

    TextRasterizer bold;        // the display face of names and titles
    TextRasterizer condensed;   // for long words on narrow cards and the scroller's cells
    TextRasterizer serifItalic; // lower-case connecting words: presents, code, and ...
};
