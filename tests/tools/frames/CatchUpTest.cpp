// A seek's catch-up against the row it stands for: in every slot, and in the two scenes the
// timeline does not show, the frame a seek lands on is byte for byte the frame drawn by taking
// every frame in turn from the first, as a capture's span takes them; and a seek draws only the
// frames its scene's rule says.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "frames/FrameStepper.h"
#include "frames/UnseenFrames.h"
#include "main/FrameClock.h"
#include "main/Timeline.h"
#include "platform/ManualTick.h"
#include "preview/ShownFrame.h"

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

    // The row from start to last, every frame a seek of its own that goes on from the one
    // before (no catch-up), then each of looks (right after the set-up frame, mid-row, the
    // deepest) reached from a fresh row (leave()) by one seek and on in a row from there,
    // against the row's frames. Each deepest seek from a fresh row draws in full the frames
    // given: the count the scene's catch-up rule costs.
    void expectRow(long long start, long long last, const std::function<void()>& leave,
                   long long framesToDeepest) {
        const long long looks[] = {start + 1, (start + last) / 2, last};
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
        for (int i = 0; i < 3; ++i) {
            leave();
            ASSERT_TRUE(stepper->seekTo(looks[i]));
            EXPECT_TRUE(shownFrame() == row[i]) << "from a fresh row to frame " << looks[i];
        }
        EXPECT_EQ(stepper->framesRendered(), framesToDeepest) << "drawn to frame " << last;
        leave();
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(stepper->seekTo(looks[i]));
            EXPECT_TRUE(shownFrame() == row[i]) << "on in the row to frame " << looks[i];
        }
    }

    Timeline timeline;
    FrameStepper* stepper = nullptr;
};

TEST_F(CatchUpAgainstRow, EverySeekInEverySlotLandsOnTheRowsFrame) {
    const FrameClock& clock = stepper->clock();
    // The slot's first frame, the one before the target and the target; in Preface also the
    // last frame that fetched the spectrum the Quisp card reads from 10 s on.
    const long long deepestCost[Schedule::SLOT_COUNT] = {4, 3, 3, 3, 3, 3, 3, 3};
    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
        SCOPED_TRACE(Schedule::slots[slot].name);
        const long long last =
            slot + 1 < Schedule::SLOT_COUNT
                ? clock.firstFrameOfSlot(clock.frameAt(Schedule::slots[slot + 1].start)) - 1
                : clock.lastFrame();
        const long long outside =
            clock.frameAt(Schedule::slots[(slot + 1) % Schedule::SLOT_COUNT].start);
        expectRow(
            clock.firstFrameOfSlot(last), last, [&] { stepper->seekTo(outside); },
            deepestCost[slot]);
    }
}

TEST_F(CatchUpAgainstRow, TheUnscheduledScenesLandOnTheRowsFrame) {
    // Each drawn alone from frame 0, as the capture's --scene draws it: a fresh row is a new
    // scene. Ten seconds of the wire tunnel's walk and of the still picture.
    for (const char* name : Schedule::unscheduled) {
        SCOPED_TRACE(name);
        // Made at tick 0, as the capture makes it after the start-up.
        auto make = [&] {
            ManualTick::set(0);
            Timer::update();
            return Schedule::createScene(name, timeline.timer, timeline.music);
        };
        std::vector<Scene*> made = {make()};
        ASSERT_NE(made[0], nullptr);
        stepper->drawOnly(made[0], name);
        expectRow(
            0, 600,
            [&] {
                made.push_back(make());
                stepper->drawOnly(made.back(), name);
            },
            3);
        for (Scene* s : made) {
            delete s;
        }
    }
}

} // namespace
