// The stepper's seeks, as the preview makes them, against rows drawn in full: whatever order the
// seeks come in (forward, back within a slot, into a slot drawn before, after frames of play,
// after a reload), the frame drawn is the one vorrel-capture --every-frame --at writes, byte for
// byte.
#include <gtest/gtest.h>
#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "frames/FrameStepper.h"
#include "cli/PngWriter.h"
#include "main/FrameClock.h"
#include "main/Timeline.h"
#include "preview/ShownFrame.h"

namespace {

const char* const TIMES[] = {"1.5",   "27.5", "91.5",  "123.5", "171.5",
                             "195.5", "226",  "227.5", "228",   "250.5"};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string shotName(const std::string& t) {
    return PngWriter::shotName(atof(t.c_str()));
}

class StepperAgainstCapture : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/vq-seek-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        ASSERT_EQ(chdir(VQ_DATA_DIR), 0);
        std::string times;
        for (const char* t : TIMES) {
            times += (times.empty() ? "" : ",") + std::string(t);
        }
        // The reference: a process of its own, every frame of each row drawn in full from its
        // slot's start (no catch-up). It ends with its scenes alive, as the demo does: no leak
        // check in the sanitizer build.
        const std::string command = "ASAN_OPTIONS=detect_leaks=0 " + std::string(VQ_BINARY_DIR) +
                                    "/vorrel-capture --every-frame --at " + times + " --frames " +
                                    dir + "/capture >/dev/null 2>&1";
        ASSERT_EQ(system(command.c_str()), 0) << command;

        Music::useManualOutput(true);
        FrameClock::install();
        timeline.start(800, 600, true);
        ASSERT_TRUE(timeline.music->isLoaded());
        stepper = new FrameStepper(&timeline, 60);
    }
    void TearDown() override {
        delete stepper;
        if (HasFailure()) {
            printf("the frames are kept in %s\n", dir.c_str());
        } else {
            system(("rm -rf " + dir).c_str());
        }
    }

    // Seeks to t and compares the frame drawn with the capture's, as PNG files.
    void expectCaptureFrame(const std::string& t) {
        SCOPED_TRACE("seek to " + t);
        const long long frame = stepper->clock().frameAt(atof(t.c_str()));
        ASSERT_TRUE(stepper->seekTo(frame));
        EXPECT_EQ(stepper->exactFrame(), frame);
        ShownFrame shown(800, 600);
        shown.read();
        const std::string mine = dir + "/" + shotName(t);
        ASSERT_TRUE(PngWriter::write(mine, shown.pixels, 800, 600));
        const std::string theirs = readFile(dir + "/capture/" + shotName(t));
        ASSERT_FALSE(theirs.empty());
        EXPECT_TRUE(readFile(mine) == theirs) << "differs from the row drawn in full to " << t;
    }

    std::string dir;
    Timeline timeline;
    FrameStepper* stepper = nullptr;
};

TEST_F(StepperAgainstCapture, EverySeekLandsOnTheCapturesFrame) {
    // Backwards through the timeline, each slot fresh.
    expectCaptureFrame("250.5");
    expectCaptureFrame("228");
    // Back within a slot: the scroller must start again from the slot's first frame, with a
    // scene made anew.
    const Scene* const creds = timeline.scenes[6];
    expectCaptureFrame("227.5");
    EXPECT_NE(timeline.scenes[6], creds);
    // On within the row: only the frames after the last one drawn, the same scene.
    const Scene* const row = timeline.scenes[6];
    expectCaptureFrame("228");
    EXPECT_EQ(stepper->framesDrawn(), 30);
    EXPECT_EQ(timeline.scenes[6], row);
    // The same frame again draws nothing.
    EXPECT_FALSE(stepper->seekTo(stepper->clock().frameAt(228.0)));
    EXPECT_EQ(stepper->framesDrawn(), 0);

    expectCaptureFrame("195.5");
    expectCaptureFrame("171.5");
    expectCaptureFrame("123.5");
    // Frames of play in a slot, then a seek out and back: the scene is made anew.
    for (long long tick = 91600; tick < 92000; tick += 37) {
        stepper->drawAt(tick);
    }
    EXPECT_EQ(stepper->exactFrame(), -1);
    expectCaptureFrame("27.5");
    expectCaptureFrame("91.5");
    expectCaptureFrame("1.5");
    // Into slots drawn before, from other slots.
    expectCaptureFrame("228");
    expectCaptureFrame("195.5");
    // Play on from a seek, then back to it: the slot starts again.
    stepper->drawAt(195600);
    expectCaptureFrame("195.5");
    // Play that enters a slot drawn before starts it with a new scene, as a run does: its
    // first frame on the grid is the capture's.
    stepper->drawAt(stepper->clock().tickOf(stepper->clock().frameAt(226.0)));
    {
        ShownFrame shown(800, 600);
        shown.read();
        ASSERT_TRUE(PngWriter::write(dir + "/entered.png", shown.pixels, 800, 600));
        EXPECT_TRUE(readFile(dir + "/entered.png") == readFile(dir + "/capture/t-226.000.png"))
            << "play into a slot drawn before differs from the row drawn in full to 226";
    }
    // The end has no frame: nothing is drawn there.
    EXPECT_FALSE(stepper->seekTo(stepper->clock().frameAt(266.0)));
    EXPECT_FALSE(stepper->drawAt(266000));
    // Every scene made anew: the tunnels' clocks start at tick 0 again.
    stepper->remakeAll();
    expectCaptureFrame("195.5");
    expectCaptureFrame("123.5");
}

} // namespace
