// The preview's status line: one line of text in a tiny font of its own, drawn over the frame.
#pragma once

#include <string>

class StatusLine {
  public:
    static const int SCALE = 2;                // screen pixels a font pixel
    static const int GLYPH_WIDTH = 5;          // font pixels
    static const int GLYPH_HEIGHT = 7;         // font pixels
    static const int ADVANCE = 6 * SCALE;      // screen pixels from one glyph to the next
    static const int BAND_HEIGHT = 11 * SCALE; // the dark band behind the text

    // The 7 rows of a character, top first, bit 4 the leftmost pixel; lower case as upper
    // case, anything else without a glyph as '?', space blank.
    static const unsigned char* glyph(char c);

    // Draws text white on a dark band along the top of the width x height region at the
    // window's lower-left corner, where the scenes draw. Leaves every OpenGL state, the
    // matrices included, as it found it.
    static void draw(const std::string& text, int width, int height);
};
