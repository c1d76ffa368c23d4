// The ring between the decoding thread and the callback: what it lets the writer overwrite and
// what it still hands the spectrum.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sound/FrameRing.h"

namespace {

// Mono frames whose values are their frame numbers.
std::vector<int16_t> frames(int first, int count) {
    std::vector<int16_t> out;
    for (int i = 0; i < count; ++i) {
        out.push_back(static_cast<int16_t>(first + i));
    }
    return out;
}

TEST(FrameRing, KeepsWhatWasTakenUntilTheWriterNeedsItsRoomAndWrapsAround) {
    FrameRing ring(1, 8, 4);
    EXPECT_EQ(ring.space(), 8);
    ring.write(frames(0, 8).data(), 8);
    std::vector<int16_t> out(8, -1);
    EXPECT_EQ(ring.take(out.data(), 3), 3);
    out.assign(8, -1);
    // The three taken are kept: no room yet.
    EXPECT_EQ(ring.space(), 0);
    EXPECT_EQ(ring.take(out.data(), 8), 5); // all that was written
    EXPECT_EQ(out, (std::vector<int16_t>{3, 4, 5, 6, 7, -1, -1, -1}));
    EXPECT_EQ(ring.space(), 4);
    ring.write(frames(8, 4).data(), 4);

    // Taken and kept: the four before what is next; nothing older, nothing not yet taken.
    std::vector<int16_t> kept(4, -1);
    EXPECT_TRUE(ring.copyTaken(4, 4, kept.data()));
    EXPECT_EQ(kept, frames(4, 4));
    EXPECT_FALSE(ring.copyTaken(3, 4, kept.data()));
    EXPECT_FALSE(ring.copyTaken(6, 3, kept.data()));
    EXPECT_EQ(ring.take(out.data(), 4), 4);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 4), frames(8, 4));
    EXPECT_TRUE(ring.copyTaken(9, 3, kept.data()));
    EXPECT_EQ(std::vector<int16_t>(kept.begin(), kept.begin() + 3), frames(9, 3));

    // From a reset: what is written before the next frame taken is kept as taken, frames
    // before the track read as silence, and frames before the reset are gone.
    ring.reset(0, 2);
    ring.write(frames(0, 5).data(), 5);
    EXPECT_TRUE(ring.copyTaken(-2, 4, kept.data()));
    EXPECT_EQ(kept, (std::vector<int16_t>{0, 0, 0, 1}));
    EXPECT_EQ(ring.take(out.data(), 8), 3);
    EXPECT_EQ(out[0], 2);
    ring.reset(20, 20);
    EXPECT_FALSE(ring.copyTaken(18, 2, kept.data()));
}

} // namespace
