// The picture sets made for taller frames: every picture grows with the frame to a power of two
// of at most 4096 a side, and the font sheet keeps its 13 x 4 cells with each glyph in place.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "GlyphInk.h"
#include "assetgen/FontSet.h"
#include "assetgen/FontSheet.h"
#include "assetgen/Pictures.h"
#include "assetgen/Sides.h"

namespace {

bool powerOfTwo(int v) {
    return v > 0 && (v & (v - 1)) == 0;
}

const Pictures::File& fileNamed(const std::vector<Pictures::File>& files, const std::string& name) {
    static const Pictures::File none{"", 0, 0};
    for (const Pictures::File& f : files) {
        if (f.name == name) {
            return f;
        }
    }
    return none;
}

} // namespace

TEST(PicturesTest, EachPictureGrowsByThePowerOfTwoNearestTheFrameUpTo4096) {
    const std::vector<Pictures::File> base = Pictures::files(600);
    ASSERT_EQ(28u, base.size());
    // 1080 lines are 1.8 times 600 and 2160 lines 3.6 times: the nearest powers of two are 2
    // and 4, on both sides of every picture, cards, materials, screens and font sheet alike.
    for (const int height : {1080, 2160}) {
        const int growth = height == 1080 ? 2 : 4;
        const std::vector<Pictures::File> tall = Pictures::files(height);
        ASSERT_EQ(base.size(), tall.size());
        for (size_t i = 0; i < base.size(); ++i) {
            SCOPED_TRACE(testing::Message() << height << " " << base[i].name);
            EXPECT_EQ(base[i].name, tall[i].name);
            EXPECT_TRUE(powerOfTwo(tall[i].width) && tall[i].width <= Sides::MAX);
            EXPECT_TRUE(powerOfTwo(tall[i].height) && tall[i].height <= Sides::MAX);
            EXPECT_EQ(base[i].width * growth, tall[i].width);
            EXPECT_EQ(base[i].height * growth, tall[i].height);
        }
    }
    // 4320 lines would want the largest cards 8192 texels wide: they stop at 4096 and keep
    // their shape, while the small ones still grow eightfold.
    const std::vector<Pictures::File> huge = Pictures::files(4320);
    int capped = 0;
    for (size_t i = 0; i < base.size(); ++i) {
        SCOPED_TRACE(base[i].name);
        EXPECT_LE(std::max(huge[i].width, huge[i].height), Sides::MAX);
        EXPECT_EQ(base[i].width * huge[i].height, base[i].height * huge[i].width);
        if (std::max(base[i].width, base[i].height) * 8 > Sides::MAX) {
            EXPECT_EQ(Sides::MAX, std::max(huge[i].width, huge[i].height));
            ++capped;
        } else {
            EXPECT_EQ(base[i].width * 8, huge[i].width);
        }
    }
    EXPECT_GT(capped, 0);
    // The font sheet and the full-screen pictures at 2160 lines, as a capture loads them.
    const std::vector<Pictures::File> tall = Pictures::files(2160);
    EXPECT_EQ(2048, fileNamed(tall, "font.png").width);
    EXPECT_EQ(1024, fileNamed(tall, "font_mask.png").height);
    EXPECT_EQ(4096, fileNamed(tall, "overlay.png").width);
    EXPECT_EQ(2048, fileNamed(tall, "bg.png").height);
}

namespace {

// The mask is white outside glyphs and dark inside them; darkness in levels of 255.
double darkness(const Canvas& mask, int x, int y) {
    return 255.0 * (1.0 - mask.at(x, y).r);
}

GlyphInk inkIn(const Canvas& mask, int x0, int y0, int x1, int y1) {
    return glyphInk([&](int x, int y) { return darkness(mask, x, y); }, x0, y0, x1, y1);
}

// The cell's texels in the stored (upside-down) sheet: row 0 at the top of the file.
void cellBox(const Canvas& mask, int column, int row, int& x0, int& y0, int& x1, int& y1) {
    const double cellW = mask.width() / static_cast<double>(FontSheet::COLUMNS);
    const int cellH = mask.height() / FontSheet::ROWS;
    x0 = static_cast<int>(std::floor(column * cellW));
    x1 = std::min(mask.width(), static_cast<int>(std::ceil((column + 1) * cellW)));
    y0 = row * cellH;
    y1 = (row + 1) * cellH;
}

} // namespace

TEST(PicturesTest, TallFontSheetKeepsItsCellsWithEveryGlyphWhereTheSmallOneHasIt) {
    const FontSet fonts(ASSETGEN_FONT_DIR);
    ASSERT_TRUE(fonts.ok());
    const std::vector<Pictures::File> files = Pictures::files(2160);
    const Pictures::File& size = fileNamed(files, "font_mask.png");
    const FontSheetImages small = FontSheet::make(fonts, 512, 256);
    const FontSheetImages tall = FontSheet::make(fonts, size.width, size.height);
    const int growth = size.width / 512;
    ASSERT_EQ(4, growth);
    std::vector<bool> owned(static_cast<size_t>(tall.mask.width()) * tall.mask.height(), false);
    const std::string chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\"(),-.':!?";
    for (const char ch : chars) {
        SCOPED_TRACE(std::string(1, ch));
        int column = 0, row = 0;
        ASSERT_TRUE(FontSheet::cellOf(ch, column, row));
        int x0, y0, x1, y1;
        cellBox(tall.mask, column, row, x0, y0, x1, y1);
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                owned[static_cast<size_t>(y) * tall.mask.width() + x] = true;
            }
        }
        const GlyphInk big = inkIn(tall.mask, x0, y0, x1, y1);
        ASSERT_GT(big.weight, 0.0);
        // Clear of the cell's edges by the grown margin, so filtering never bleeds.
        const int margin = 2 * growth;
        EXPECT_GE(big.x0, x0 + margin);
        EXPECT_LE(big.x1 + 1, x1 - margin);
        EXPECT_GE(big.y0, y0 + margin);
        EXPECT_LE(big.y1 + 1, y1 - margin);
        // The same glyph in the same place, the same way up: the small sheet's ink, grown,
        // within a texel of the small sheet (its glyphs sit on whole texels).
        int s0, t0, s1, t1;
        cellBox(small.mask, column, row, s0, t0, s1, t1);
        const GlyphInk little = inkIn(small.mask, s0, t0, s1, t1);
        EXPECT_NEAR(little.x0 * growth, big.x0, 1.5 * growth);
        EXPECT_NEAR((little.x1 + 1) * growth, big.x1 + 1, 1.5 * growth);
        EXPECT_NEAR(little.y0 * growth, big.y0, 1.5 * growth);
        EXPECT_NEAR((little.y1 + 1) * growth, big.y1 + 1, 1.5 * growth);
        EXPECT_NEAR((little.cx + 0.5) * growth, big.cx + 0.5, 1.0 * growth);
        EXPECT_NEAR((little.cy + 0.5) * growth, big.cy + 0.5, 1.0 * growth);
    }
    // Nothing outside the glyphs' own cells: the space and the unused cells stay clear.
    int stray = 0;
    for (int y = 0; y < tall.mask.height(); ++y) {
        for (int x = 0; x < tall.mask.width(); ++x) {
            if (!owned[static_cast<size_t>(y) * tall.mask.width() + x]) {
                stray += darkness(tall.mask, x, y) > 16.0;
            }
        }
    }
    EXPECT_EQ(0, stray);
}

TEST(PicturesTest, AssetgenRefusesHeightsItHasNoSetForInOneLine) {
    char folder[] = "/tmp/vq-assetgen-XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(folder));
    const std::string assetgen = std::string(VQ_BINARY_DIR) + "/tools/assetgen/assetgen";
    const std::string err = std::string(folder) + "/err.txt";
    // Below 600 lines the demo's own set serves; above 4320 the pictures stop growing.
    for (const char* args : {"--height 599", "--height 4321", "--height 2160x", "--height",
                             "--height 1080 --size 2", ""}) {
        SCOPED_TRACE(args);
        const std::string target = *args && std::string(args) != "--height" ? folder : "";
        const std::string command = assetgen + " " + args + " " + target + " >/dev/null 2>" + err;
        const int status = system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(2, WEXITSTATUS(status));
        FILE* f = fopen(err.c_str(), "r");
        ASSERT_NE(nullptr, f);
        int lines = 0;
        for (int c = fgetc(f); c != EOF; c = fgetc(f)) {
            lines += c == '\n';
        }
        fclose(f);
        EXPECT_EQ(1, lines);
        // Nothing was written beside the error text.
        const std::string count = "test \"$(ls " + std::string(folder) + " | wc -l)\" = 1";
        EXPECT_EQ(0, system(count.c_str()));
    }
    EXPECT_EQ(0, system(("rm -rf '" + std::string(folder) + "'").c_str()));
}
