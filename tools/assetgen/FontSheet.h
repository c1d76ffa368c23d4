// The scroller's bitmap font: 13 x 4 cells, glyphs stored upside down (the scroller maps a
// cell's smaller t to the glyph's lower edge and the loader puts the file's top row at t = 0).
#pragma once

#include "assetgen/Canvas.h"
#include "assetgen/FontSet.h"

struct FontSheetImages {
    // Colour image: outside glyphs black with alpha 1, inside the glyph colour with alpha 0,
    // so "source + destination x source alpha" paints glyphs and leaves the rest alone.
    Canvas colour;
    // Multiplier: white outside glyphs, black inside.
    Canvas mask;
};

class FontSheet {
  public:
    static const int COLUMNS = 13;
    static const int ROWS = 4;

    // The cell (column, row) of a character, row 0 at t = 0; false for characters without one.
    static bool cellOf(char ch, int& column, int& row);
    static FontSheetImages make(const FontSet& fonts, int width, int height);
};
