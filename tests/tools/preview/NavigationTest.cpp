// Where the preview's keys land: seconds, frames and scenes on the 60 fps grid, kept on the
// timeline.
#include <gtest/gtest.h>

#include "main/Schedule.h"
#include "preview/Navigation.h"

namespace {

TEST(PreviewNavigation, SeeksBySecondsAndFramesStayOnTheTimeline) {
    const Navigation nav{FrameClock(60)};
    // 266 s is frame 15960, the end: the last frame shown comes before it.
    EXPECT_EQ(nav.clock.lastFrame(), 15959);
    EXPECT_EQ(nav.clamp(-3), 0);
    EXPECT_EQ(nav.clamp(20000), 15959);
    EXPECT_EQ(nav.by(200000, 5000), 12300);
    EXPECT_EQ(nav.by(200000, -1000), 11940);
    EXPECT_EQ(nav.by(2000, -5000), 0);
    EXPECT_EQ(nav.by(264000, 5000), 15959);
    // From a frame of the grid, one frame either way; from between two frames, the nearer
    // ones on each side.
    EXPECT_EQ(nav.step(200000, 1), 12001);
    EXPECT_EQ(nav.step(200000, -1), 11999);
    EXPECT_EQ(nav.step(200010, 1), 12001);  // frame 12001 is at 200017 ms
    EXPECT_EQ(nav.step(200010, -1), 12000); // frame 12000 is at 200000 ms
    EXPECT_EQ(nav.step(0, -1), 0);
    EXPECT_EQ(nav.step(265983, 1), 15959);
}

TEST(PreviewNavigation, SceneKeysGoToTheFirstFrameOfASlot) {
    for (int fps : {60, 7, 25}) {
        const Navigation nav{FrameClock(fps)};
        for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
            const long long start = nav.startOf(slot);
            EXPECT_EQ(nav.clock.slotOfFrame(start), slot) << fps << " fps, slot " << slot;
            if (slot > 0) {
                EXPECT_EQ(nav.clock.slotOfFrame(start - 1), slot - 1) << fps << " fps";
            }
        }
    }
    const Navigation nav{FrameClock(60)};
    EXPECT_EQ(nav.startOf(1), 26 * 60);
    EXPECT_EQ(nav.startOf(6), 226 * 60);
    // Page Up: the start of the slot before, wherever in its slot the time is.
    EXPECT_EQ(nav.previousScene(230000), 194 * 60);
    EXPECT_EQ(nav.previousScene(226000), 194 * 60);
    EXPECT_EQ(nav.previousScene(12000), 0);
    EXPECT_EQ(nav.previousScene(27000), 0);
    // Page Down: the start of the slot after; none after the last.
    EXPECT_EQ(nav.nextScene(0), 26 * 60);
    EXPECT_EQ(nav.nextScene(225999), 226 * 60);
    EXPECT_EQ(nav.nextScene(250000), -1);
}

} // namespace
