// The lazy scenes' clock: built during loading, it starts at the scene's first frame, however
// long after the construction that frame comes.
#include <GL/gl.h>

#include <cmath>
#include <string>
#include <typeinfo>
#include <vector>

#include "main/Schedule.h"
#include "platform/Music.h"
#include "platform/Timer.h"
#include "platform/sound/SoundSeams.h"
#include "scenes/Scene.h"
#include "support/DataFolder.h"
#include "support/GLTest.h"

namespace {

using gltest::FeedbackPrimitive;

const int BUILT = 1000;       // the tick at which both copies of a scene are built
const int ON_TIME = 1000;     // the first frame of the copy drawn at once
const int LATE = 1000 + 7000; // the first frame of the copy drawn seven seconds later

class SceneClockTest : public GLTest, public ::testing::WithParamInterface<const char*> {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        ASSERT_TRUE(data.ready); // no pictures: every textured quad draws in its own colour
        for (int i = 0; i < 512; ++i) {
            spectrum[i] = 0.2f + 0.001f * static_cast<float>(i % 7);
        }
        soundlayer::overrideSpectrum(spectrum);
    }
    void TearDown() override {
        soundlayer::overrideSpectrum(nullptr);
        GLTest::TearDown();
    }

    // What the scene draws at `tick`, with its first-frame output when there is one.
    std::vector<FeedbackPrimitive> frameAt(Scene* scene, int tick, std::string* out = nullptr) {
        gltest::setTick(tick);
        testing::internal::CaptureStdout();
        std::vector<FeedbackPrimitive> frame = gltest::captureFeedback([&] { scene->render(); });
        const std::string printed = testing::internal::GetCapturedStdout();
        if (out) {
            *out = printed;
        }
        return frame;
    }

    DataFolder data;
    float spectrum[512] = {};
    Timer timer;
    Music music;
};

// The same primitives with the same window coordinates and colours.
bool sameFrame(const std::vector<FeedbackPrimitive>& a, const std::vector<FeedbackPrimitive>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t p = 0; p < a.size(); ++p) {
        if (a[p].token != b[p].token || a[p].vertices.size() != b[p].vertices.size()) {
            return false;
        }
        for (size_t v = 0; v < a[p].vertices.size(); ++v) {
            const gltest::FeedbackVertex& x = a[p].vertices[v];
            const gltest::FeedbackVertex& y = b[p].vertices[v];
            if (std::fabs(x.x - y.x) > 1e-3f || std::fabs(x.y - y.y) > 1e-3f ||
                std::fabs(x.z - y.z) > 1e-6f || std::fabs(x.r - y.r) > 1e-6f ||
                std::fabs(x.a - y.a) > 1e-6f) {
                return false;
            }
        }
    }
    return true;
}

TEST_P(SceneClockTest, StartsAtTheFirstFrameNotAtConstruction) {
    const std::string name = GetParam();
    gltest::setTick(BUILT);
    Scene* onTime = Schedule::createScene(name.c_str(), &timer, &music);
    Scene* late = Schedule::createScene(name.c_str(), &timer, &music);
    ASSERT_NE(onTime, nullptr);
    ASSERT_NE(late, nullptr);
    // Of the class named: the kinds' table follows the slots' order (a class's name is its
    // length and its letters in this compiler's type names).
    EXPECT_STREQ(typeid(*onTime).name(), (std::to_string(name.size()) + name).c_str());

    std::string onTimeLine, lateLine;
    std::vector<std::vector<FeedbackPrimitive>> expected;
    expected.push_back(frameAt(onTime, ON_TIME, &onTimeLine));
    const std::vector<FeedbackPrimitive> lateFirst = frameAt(late, LATE, &lateLine);
    // The two scenes that print their clock on the first frame print 0 either way.
    EXPECT_EQ(lateLine, onTimeLine);
    if (name == "Preface" || name == "Sex") {
        EXPECT_EQ(lateLine, "local_timer : 0\n");
    }
    EXPECT_TRUE(sameFrame(lateFirst, expected[0])) << name << " at its first frame";

    // Seconds of scene time, exact in single precision from either start.
    const float after[] = {0.5f, 3.0f, 8.5f};
    for (float s : after) {
        const int ms = static_cast<int>(s * 1000.0f);
        expected.push_back(frameAt(onTime, ON_TIME + ms));
        const std::vector<FeedbackPrimitive> got = frameAt(late, LATE + ms);
        EXPECT_TRUE(sameFrame(got, expected.back())) << name << " " << s << " s in";
    }
    // The frames change over these seconds, so a clock off by seven seconds would show.
    EXPECT_FALSE(sameFrame(expected.front(), expected.back())) << name;
    delete late;
    delete onTime;
}

INSTANTIATE_TEST_SUITE_P(LazyScenes, SceneClockTest,
                         ::testing::Values("Preface", "Intro", "Test", "Spectrum", "Creds", "Sex"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param);
                         });

} // namespace
