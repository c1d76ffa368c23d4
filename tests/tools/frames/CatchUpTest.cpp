// A seek's catch-up against the row it stands for: in every slot, the frame a seek lands on is
// byte for byte the frame drawn by taking every frame of the slot in turn from its first, as a
// capture's span takes them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

#include "main/FrameClock.h"
#include "frames/FrameStepper.h"
#include "preview/ShownFrame.h"
#include "frames/UnseenFrames.h"
#include "main/Timeline.h"

namespace {

std::vector<uint8_t> shownFrame() {
    ShownFrame shown(800, 600);
    shown.read();
    return shown.pixels;
}

class CatchUpAgainstRow : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(chdir(VQ_DATA_DIR), 0);
        Music::useManualOutput(true);
        FrameClock::install();
        timeline.start(800, 600, true);
        ASSERT_TRUE(timeline.music->isLoaded());
        stepper = new FrameStepper(&timeline, 60);
    }
    void TearDown() override { delete stepper; }

    Timeline timeline;
    FrameStepper* stepper = nullptr;
};

TEST_F(CatchUpAgainstRow, EverySeekInEverySlotLandsOnTheRowsFrame) {
    const FrameClock& clock = stepper->clock;
    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
        SCOPED_TRACE(Schedule::slots[slot].name);
        const long long last =
            slot + 1 < Schedule::SLOT_COUNT
                ? clock.firstFrameOfSlot(clock.frameAt(Schedule::slots[slot + 1].start)) - 1
                : clock.lastFrame();
        const long long start = clock.firstFrameOfSlot(last);
        // Right after the set-up frame, mid-slot (in Preface the Quisp card alone, on the
        // spectrum of a frame 3 s before) and the deepest seek.
        const long long looks[] = {start + 1, (start + last) / 2, last};

        // The row: every frame a seek of its own that goes on from the one before, no catch-up;
        // only the looks are drawn seen.
        std::vector<uint8_t> row[3];
        int look = 0;
        for (long long frame = start; frame <= last; ++frame) {
            if (frame == looks[look]) {
                ASSERT_TRUE(stepper->seekTo(frame));
                row[look++] = shownFrame();
            } else {
                const UnseenFrames unseen;
                ASSERT_TRUE(stepper->seekTo(frame));
            }
        }

        // Each look from outside the slot, then all of them on in a row from outside.
        const long long outside =
            clock.frameAt(Schedule::slots[(slot + 1) % Schedule::SLOT_COUNT].start);
        for (int i = 0; i < 3; ++i) {
            stepper->seekTo(outside);
            ASSERT_TRUE(stepper->seekTo(looks[i]));
            EXPECT_TRUE(shownFrame() == row[i]) << "from outside the slot to frame " << looks[i];
        }
        stepper->seekTo(outside);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(stepper->seekTo(looks[i]));
            EXPECT_TRUE(shownFrame() == row[i]) << "on in the row to frame " << looks[i];
        }
    }
}

} // namespace
