// The generated pictures: every file the scenes load exists with the depth its blending needs
// and power-of-two sides; the font sheet keeps each glyph inside its cell, upside down; the
// tiled materials have no seams; the cards are words on a transparent ground.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "GlyphInk.h"

namespace {

const std::string TEXTURES = std::string(VQ_DATA_DIR) + "/textures/";

// A decoded picture, top row first, 8-bit channels R, G, B, A (A = 255 for 24-bit files).
struct Picture {
    int width = 0;
    int height = 0;
    int bpp = 0;
    std::vector<unsigned char> rgba;

    const unsigned char* at(int x, int y) const {
        return &rgba[(static_cast<size_t>(y) * width + x) * 4];
    }
};

bool load(const std::string& name, Picture& out) {
    FIBITMAP* bitmap = FreeImage_Load(FIF_PNG, (TEXTURES + name).c_str(), PNG_DEFAULT);
    if (bitmap == nullptr) {
        return false;
    }
    out.width = static_cast<int>(FreeImage_GetWidth(bitmap));
    out.height = static_cast<int>(FreeImage_GetHeight(bitmap));
    out.bpp = static_cast<int>(FreeImage_GetBPP(bitmap));
    out.rgba.assign(static_cast<size_t>(out.width) * out.height * 4, 255);
    const int step = out.bpp / 8;
    if (step == 3 || step == 4) {
        for (int y = 0; y < out.height; ++y) {
            const BYTE* line = FreeImage_GetScanLine(bitmap, out.height - 1 - y);
            for (int x = 0; x < out.width; ++x) {
                unsigned char* p = &out.rgba[(static_cast<size_t>(y) * out.width + x) * 4];
                p[0] = line[x * step + FI_RGBA_RED];
                p[1] = line[x * step + FI_RGBA_GREEN];
                p[2] = line[x * step + FI_RGBA_BLUE];
                if (step == 4) {
                    p[3] = line[x * step + FI_RGBA_ALPHA];
                }
            }
        }
    }
    FreeImage_Unload(bitmap);
    return true;
}

bool powerOfTwoUpTo1024(int v) {
    return v > 0 && v <= 1024 && (v & (v - 1)) == 0;
}

const char* const CARDS[] = {"vorrel.png", "quisp.png",    "presents.png", "morvane.png",
                             "code.png",   "pevrick.png",  "telquin.png",  "music.png",
                             "and.png",    "graphics.png", "ulmerd.png",   "greetings.png",
                             "is.png",     "like.png",     "redsex.png",   "some.png",
                             "get.png",    "it.png",       "dont.png",     "smiley.png"};

} // namespace

TEST(AssetsTest, EveryPictureExistsWithItsDepthAndPowerOfTwoSides) {
    struct Expect {
        std::string name;
        bool needsAlpha;
    };
    std::vector<Expect> all;
    for (const char* card : CARDS) {
        all.push_back({card, true});
    }
    for (const char* name : {"overlay.png", "overlay2.png", "font.png"}) {
        all.push_back({name, true});
    }
    for (const char* name :
         {"marble.0000.png", "tunnel.png", "tunnel2.png", "bg.png", "font_mask.png"}) {
        all.push_back({name, false});
    }
    for (const Expect& e : all) {
        SCOPED_TRACE(e.name);
        Picture p;
        ASSERT_TRUE(load(e.name, p));
        EXPECT_TRUE(powerOfTwoUpTo1024(p.width)) << p.width;
        EXPECT_TRUE(powerOfTwoUpTo1024(p.height)) << p.height;
        if (e.needsAlpha) {
            EXPECT_EQ(32, p.bpp);
        } else {
            EXPECT_TRUE(p.bpp == 24 || p.bpp == 32) << p.bpp;
        }
    }
}

TEST(AssetsTest, CardsAreWordsOnATransparentGroundAndTheSexCardIsRed) {
    for (const char* card : CARDS) {
        SCOPED_TRACE(card);
        Picture p;
        ASSERT_TRUE(load(card, p));
        // The border is clear, so the quad's edges never show.
        int borderOpaque = 0;
        for (int x = 0; x < p.width; ++x) {
            borderOpaque += p.at(x, 0)[3] > 8 || p.at(x, p.height - 1)[3] > 8;
        }
        for (int y = 0; y < p.height; ++y) {
            borderOpaque += p.at(0, y)[3] > 8 || p.at(p.width - 1, y)[3] > 8;
        }
        EXPECT_EQ(0, borderOpaque);
        // Something solid is drawn, but most of the card stays see-through.
        long solid = 0, clear = 0;
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < p.width; ++x) {
                solid += p.at(x, y)[3] >= 250;
                clear += p.at(x, y)[3] <= 5;
            }
        }
        const long total = static_cast<long>(p.width) * p.height;
        EXPECT_GT(solid, total / 50);
        EXPECT_GT(clear, total / 4);
    }
    Picture sex;
    ASSERT_TRUE(load("redsex.png", sex));
    double r = 0.0, g = 0.0, b = 0.0;
    for (int y = 0; y < sex.height; ++y) {
        for (int x = 0; x < sex.width; ++x) {
            const unsigned char* px = sex.at(x, y);
            if (px[3] >= 250) {
                r += px[0];
                g += px[1];
                b += px[2];
            }
        }
    }
    EXPECT_GT(r, 2.5 * g);
    EXPECT_GT(r, 2.5 * b);
}

namespace {

// The cell of a character in the scroller's 13 x 4 sheet, row 0 nearest t = 0.
struct Cell {
    char ch;
    int column;
    int row;
};

std::vector<Cell> sheetCells() {
    std::vector<Cell> cells;
    for (char c = 'A'; c <= 'M'; ++c) {
        cells.push_back({c, c - 'A', 3});
    }
    for (char c = 'N'; c <= 'Z'; ++c) {
        cells.push_back({c, c - 'N', 2});
    }
    for (char c = '0'; c <= '9'; ++c) {
        cells.push_back({c, c - '0', 1});
    }
    const Cell others[] = {{'"', 0, 0}, {'(', 1, 0},  {')', 2, 0},  {',', 3, 0},  {'-', 4, 0},
                           {'.', 5, 0}, {'\'', 6, 0}, {':', 10, 1}, {'!', 11, 1}, {'?', 12, 1}};
    cells.insert(cells.end(), std::begin(others), std::end(others));
    return cells;
}

// Ink of a glyph: where the mask darkens the background. File rows, top row first.
using Ink = GlyphInk;

Ink inkIn(const Picture& mask, int x0, int y0, int x1, int y1) {
    return glyphInk([&](int x, int y) { return 255.0 - mask.at(x, y)[0]; }, x0, y0, x1, y1);
}

} // namespace

TEST(AssetsTest, FontSheetGlyphsSitInsideTheirCellsUpsideDown) {
    Picture mask, font;
    ASSERT_TRUE(load("font_mask.png", mask));
    ASSERT_TRUE(load("font.png", font));
    ASSERT_EQ(mask.width, font.width);
    ASSERT_EQ(mask.height, font.height);
    const double cellW = mask.width / 13.0;
    const double cellH = mask.height / 4.0;
    const int margin = 2;
    // Nothing outside the glyphs' own cells: the space and the unused cells stay clear.
    std::vector<bool> owned(static_cast<size_t>(mask.width) * mask.height, false);
    for (const Cell& c : sheetCells()) {
        SCOPED_TRACE(std::string(1, c.ch));
        // The loader puts the file's top row at t = 0, so row r spans file rows from r / 4.
        const int left = static_cast<int>(std::floor(c.column * cellW));
        const int right = static_cast<int>(std::ceil((c.column + 1) * cellW));
        const int top = static_cast<int>(c.row * cellH);
        const int bottom = static_cast<int>((c.row + 1) * cellH);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right && x < mask.width; ++x) {
                owned[static_cast<size_t>(y) * mask.width + x] = true;
            }
        }
        const Ink ink = inkIn(mask, left, top, std::min(right, mask.width), bottom);
        ASSERT_GT(ink.weight, 0.0);
        EXPECT_GE(ink.x0, c.column * cellW + margin);
        EXPECT_LE(ink.x1 + 1, (c.column + 1) * cellW - margin);
        EXPECT_GE(ink.y0, top + margin);
        EXPECT_LE(ink.y1 + 1, bottom - margin);
    }
    int stray = 0;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            if (!owned[static_cast<size_t>(y) * mask.width + x]) {
                stray += mask.at(x, y)[0] < 240;
            }
        }
    }
    EXPECT_EQ(0, stray);
    // Orientation: a glyph's foot is at the top of its cell in the file and its left side
    // stays on the left. 'T' is heavy at its head, '.' sits on the base line, 'L' has its stem
    // on the left and its foot on the base line, '7' has its bar at the head.
    auto cellInk = [&](char ch) {
        for (const Cell& c : sheetCells()) {
            if (c.ch == ch) {
                return inkIn(mask, static_cast<int>(c.column * cellW),
                             static_cast<int>(c.row * cellH),
                             static_cast<int>((c.column + 1) * cellW),
                             static_cast<int>((c.row + 1) * cellH));
            }
        }
        return Ink{};
    };
    const Ink t = cellInk('T'), dot = cellInk('.'), l = cellInk('L'), seven = cellInk('7');
    EXPECT_GT(t.cy, 0.5 * (t.y0 + t.y1)) << "the head of T must be at the bottom in the file";
    EXPECT_GT(seven.cy, 0.5 * (seven.y0 + seven.y1));
    EXPECT_LT(dot.cy, 0.5 * cellH) << "the full stop (row 0) sits near t = 0 of its cell";
    EXPECT_LT(l.cx, 0.5 * (l.x0 + l.x1)) << "L must not be mirrored";
    EXPECT_LT(l.cy, 0.5 * (l.y0 + l.y1)) << "the foot of L must be at the top in the file";
}

TEST(AssetsTest, FontImagesFollowTheCreditsBlend) {
    Picture mask, font;
    ASSERT_TRUE(load("font_mask.png", mask));
    ASSERT_TRUE(load("font.png", font));
    int inside = 0, bright = 0;
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x) {
            const unsigned char* m = mask.at(x, y);
            const unsigned char* f = font.at(x, y);
            SCOPED_TRACE(testing::Message() << x << "," << y);
            if (m[0] == 255) {
                // Background shows unchanged: black colour, alpha 1.
                ASSERT_EQ(255, f[3]);
                ASSERT_LE(std::max({f[0], f[1], f[2]}), 1);
            } else if (m[0] == 0) {
                // Inside a glyph: its colour replaces the background.
                ASSERT_EQ(0, f[3]);
                ++inside;
                bright += std::max({f[0], f[1], f[2]}) > 100;
            }
            // The mask and the font's alpha split the background's share evenly, so their
            // product is the share kept: both are the same value.
            ASSERT_LE(std::abs(m[0] - f[3]), 1);
        }
    }
    EXPECT_GT(inside, 1000);
    // The glyphs are lettered in light colours (their dark outline is the minority).
    EXPECT_GT(bright, inside / 2);
}

namespace {

// Mean absolute difference between two columns (or rows) of a picture, over R, G, B.
double lineDifference(const Picture& p, bool columns, int a, int b) {
    double sum = 0.0;
    const int n = columns ? p.height : p.width;
    for (int i = 0; i < n; ++i) {
        const unsigned char* pa = columns ? p.at(a, i) : p.at(i, a);
        const unsigned char* pb = columns ? p.at(b, i) : p.at(i, b);
        for (int c = 0; c < 3; ++c) {
            sum += std::abs(pa[c] - pb[c]);
        }
    }
    return sum / (3.0 * n);
}

} // namespace

TEST(AssetsTest, TiledMaterialsHaveNoSeams) {
    for (const char* name : {"marble.0000.png", "tunnel.png"}) {
        SCOPED_TRACE(name);
        Picture p;
        ASSERT_TRUE(load(name, p));
        // A seam is a step across the wrap (last line to first) much larger than the steps
        // on either side of it.
        const int w = p.width, h = p.height;
        const double nearColumns =
            std::max(lineDifference(p, true, 0, 1), lineDifference(p, true, w - 2, w - 1));
        const double nearRows =
            std::max(lineDifference(p, false, 0, 1), lineDifference(p, false, h - 2, h - 1));
        EXPECT_LT(lineDifference(p, true, w - 1, 0), 1.5 * nearColumns + 1.0);
        EXPECT_LT(lineDifference(p, false, h - 1, 0), 1.5 * nearRows + 1.0);
    }
}
