// The mipmap levels gluBuild2DMipmaps makes: their sizes, the rows' padding, the box filter.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "webgl/MipmapChain.h"

namespace {

std::vector<std::pair<int, int>> sizes(int width, int height) {
    const std::vector<unsigned char> pixels(static_cast<size_t>(width + 3) * height * 4);
    std::vector<std::pair<int, int>> out;
    for (const MipmapChain::Level& level :
         MipmapChain::build(pixels.data(), width, height, 3, false)) {
        out.push_back({level.width, level.height});
        EXPECT_EQ(level.rgba.size(), static_cast<size_t>(level.width) * level.height * 4);
    }
    return out;
}

TEST(MipmapChainTest, SizesDownToOnePixel) {
    // A side that is not a power of two goes down to the one below it first.
    EXPECT_EQ(sizes(5, 3), (std::vector<std::pair<int, int>>{{4, 2}, {2, 1}, {1, 1}}));
    // A side at 1 stays there while the other halves.
    EXPECT_EQ(sizes(1, 8), (std::vector<std::pair<int, int>>{{1, 8}, {1, 4}, {1, 2}, {1, 1}}));
    EXPECT_EQ(sizes(1, 1), (std::vector<std::pair<int, int>>{{1, 1}}));
}

TEST(MipmapChainTest, PaddedRowsAndTheBoxFilter) {
    // 2 x 2 RGB: each row is 6 bytes and 2 of padding, as the default unpack alignment reads it.
    const unsigned char pixels[16] = {10, 20, 30, 40, 50, 60, 99, 99, 70, 80, 90, 0, 1, 3, 99, 99};
    const std::vector<MipmapChain::Level> levels = MipmapChain::build(pixels, 2, 2, 3, false);
    ASSERT_EQ(levels.size(), 2u);
    const std::vector<unsigned char> first = {10, 20, 30, 255, 40, 50, 60, 255,
                                              70, 80, 90, 255, 0,  1,  3,  255};
    EXPECT_EQ(levels[0].rgba, first);
    // The mean of the four, rounded to nearest: (10 + 40 + 70 + 0 + 2) / 4 = 30 ...
    const std::vector<unsigned char> mean = {30, 38, 46, 255};
    EXPECT_EQ(levels[1].rgba, mean);
}

} // namespace
