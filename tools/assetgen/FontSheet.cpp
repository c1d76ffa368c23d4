// The scroller's bitmap font sheet and its blend mask.
#include "assetgen/FontSheet.h"

#include <cmath>
#include <string>

#include "assetgen/WordArt.h"

bool FontSheet::cellOf(char ch, int& column, int& row) {
    if (ch >= 'A' && ch <= 'M') {
        column = ch - 'A';
        row = 3;
        return true;
    }
    if (ch >= 'N' && ch <= 'Z') {
        column = ch - 'N';
        row = 2;
        return true;
    }
    if (ch >= '0' && ch <= '9') {
        column = ch - '0';
        row = 1;
        return true;
    }
    static const struct {
        char ch;
        int column, row;
    } others[] = {{'"', 0, 0},  {'(', 1, 0}, {')', 2, 0},  {',', 3, 0},  {'-', 4, 0}, {'.', 5, 0},
                  {'\'', 6, 0}, {' ', 8, 0}, {':', 10, 1}, {'!', 11, 1}, {'?', 12, 1}};
    for (const auto& o : others) {
        if (o.ch == ch) {
            column = o.column;
            row = o.row;
            return true;
        }
    }
    return false;
}

namespace {

LetterStyle glyphStyle() {
    LetterStyle s;
    s.top = Color::hex(0xfffbe0);
    s.middle = Color::hex(0xffc23a);
    s.bottom = Color::hex(0xe0461a);
    s.outline = Color::hex(0x12041c);
    s.outlineWidth = 0.035f;
    s.glowRadius = 0.0f;
    s.shadowOffset = 0.0f;
    s.bevelWidth = 0.05f;
    s.bevelLight = 0.5f;
    s.tracking = 0.0f;
    return s;
}

// On a sheet 256 texels tall; taller sheets scale both, so every glyph looks the same.
const int EM = 240;       // lettering size before it is shrunk into its cell
const int MARGIN = 3;     // texels kept clear inside every cell edge
const float CAP = 0.5f;   // capital height as a share of the cell height
const float BASE = 0.76f; // base line as a share of the cell height, from the glyph's top

// Lays one glyph, upright, into the inner box of its cell on a sheet drawn upright.
void placeGlyph(Canvas& sheet, const FontSet& fonts, char ch, int column, int row) {
    const float cellW = static_cast<float>(sheet.width()) / FontSheet::COLUMNS;
    const int cellH = sheet.height() / FontSheet::ROWS;
    const float sheetScale = sheet.height() / 256.0f;
    const int em = static_cast<int>(std::lround(EM * sheetScale));
    const int margin = static_cast<int>(std::lround(MARGIN * sheetScale));
    const int left = static_cast<int>(std::ceil(column * cellW)) + margin;
    const int right = static_cast<int>(std::floor((column + 1) * cellW)) - margin; // exclusive
    // Upright, row 0 is the bottom row of cells.
    const int top = sheet.height() - (row + 1) * cellH + margin;
    const int bottom = sheet.height() - row * cellH - margin;
    int baseline = 0, capHeight = 0;
    const Canvas art = WordArt::render(fonts.condensed, std::string(1, ch), glyphStyle(), em,
                                       &baseline, &capHeight);
    int x0 = art.width(), y0 = art.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            if (art.at(x, y).a > 1.0f / 1024.0f) {
                x0 = std::min(x0, x);
                y0 = std::min(y0, y);
                x1 = std::max(x1, x);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0 || capHeight <= 0) {
        return; // the space: an empty cell
    }
    Canvas ink(x1 - x0 + 1, y1 - y0 + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            ink.at(x - x0, y - y0) = art.at(x, y);
        }
    }
    const float scale = CAP * cellH / capHeight;
    const int w = std::min(right - left, static_cast<int>(std::lround(ink.width() * scale)));
    const int h = std::min(bottom - top, static_cast<int>(std::lround(ink.height() * scale)));
    int y = (sheet.height() - (row + 1) * cellH) +
            static_cast<int>(std::lround(BASE * cellH - (baseline - y0) * scale));
    y = std::max(top, std::min(y, bottom - h));
    const int x = left + (right - left - w) / 2;
    sheet.compose(ink.resampled(std::max(1, w), std::max(1, h)), x, y);
}

} // namespace

FontSheetImages FontSheet::make(const FontSet& fonts, int width, int height) {
    Canvas sheet(width, height);
    const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\"(),-.' :!?";
    for (char ch : chars) {
        int column = 0, row = 0;
        if (cellOf(ch, column, row)) {
            placeGlyph(sheet, fonts, ch, column, row);
        }
    }
    // Stored upside down so that the scroller shows it upright.
    sheet.flipVertical();
    FontSheetImages out{Canvas(width, height), Canvas(width, height)};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Color& g = sheet.at(x, y);
            // The colour pass adds the premultiplied glyph and keeps the background times
            // mask times alpha; splitting (1 - coverage) evenly between the two gives exact
            // anti-aliased edges.
            const float keep = std::sqrt(clamp01(1.0f - g.a));
            out.colour.at(x, y) = Color{g.r, g.g, g.b, keep};
            out.mask.at(x, y) = Color{keep, keep, keep, 1.0f};
        }
    }
    return out;
}
