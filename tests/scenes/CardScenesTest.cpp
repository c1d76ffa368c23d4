// The card scenes' choice of cards, their corners and depths, and their first-frame line,
// read back through OpenGL feedback under an orthographic view of the card plane.
#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/Music.h"
#include "platform/Timer.h"
#include "platform/sound/SoundSeams.h"
#include "scenes/Preface.h"
#include "scenes/Sex.h"
#include "scenes/Test.h"
#include "support/GLTest.h"

namespace {

struct ExpectedCard {
    std::string name;
    float corners[4][2]; // top-left, bottom-left, bottom-right, top-right
    float z;
};

struct DrawnCard {
    float corners[4][2];
    float z;
};

const int BASE_TICK = 1000;
// Scenes are built during loading, some time before their first frame at BASE_TICK.
const int BUILT_TICK = BASE_TICK - 2500;

class CardScenesTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        gltest::setTick(BUILT_TICK);
        soundlayer::overrideSpectrum(silence);
    }
    void TearDown() override {
        soundlayer::overrideSpectrum(nullptr);
        GLTest::TearDown();
    }

    // Renders the first frame (the lazy set-up) at BASE_TICK, then swaps the projection for an
    // orthographic one: window coordinates map straight back to the card plane, depth to z.
    void firstFrame(Scene& scene) {
        gltest::setTick(BASE_TICK);
        testing::internal::CaptureStdout();
        scene.render();
        firstFrameOutput = testing::internal::GetCapturedStdout();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-10.0, 10.0, -7.5, 7.5, -100.0, 100.0);
        glMatrixMode(GL_MODELVIEW);
        testing::internal::CaptureStdout();
    }

    std::string laterOutput() { return testing::internal::GetCapturedStdout(); }

    // The cards drawn at scene time t, in drawing order, in world units.
    std::vector<DrawnCard> cardsAt(Scene& scene, float t) {
        gltest::setTick(BASE_TICK + static_cast<int>(std::lround(t * 1000.0f)));
        const auto quads = gltest::quads(gltest::captureFeedback([&] { scene.render(); }));
        std::vector<DrawnCard> cards;
        for (const auto& quad : quads) {
            DrawnCard card;
            for (int i = 0; i < 4; ++i) {
                card.corners[i][0] = quad[i].x / 40.0f - 10.0f;
                card.corners[i][1] = quad[i].y / 40.0f - 7.5f;
            }
            // The eye sits at z = 10 under the look-at; depth 0..1 spans eye z -100..100.
            card.z = 10.0f - 100.0f * (2.0f * quad[0].z - 1.0f);
            cards.push_back(card);
        }
        return cards;
    }

    void expectCards(Scene& scene, float t, const std::vector<ExpectedCard>& expected) {
        const std::vector<DrawnCard> drawn = cardsAt(scene, t);
        std::string names;
        for (const ExpectedCard& e : expected) {
            names += e.name + " ";
        }
        ASSERT_EQ(drawn.size(), expected.size()) << "at t = " << t << ", expected " << names;
        for (size_t k = 0; k < drawn.size(); ++k) {
            for (int i = 0; i < 4; ++i) {
                EXPECT_NEAR(drawn[k].corners[i][0], expected[k].corners[i][0], 2e-3f)
                    << expected[k].name << " corner " << i << " x at t = " << t;
                EXPECT_NEAR(drawn[k].corners[i][1], expected[k].corners[i][1], 2e-3f)
                    << expected[k].name << " corner " << i << " y at t = " << t;
            }
            EXPECT_NEAR(drawn[k].z, expected[k].z, 2e-2f) << expected[k].name << " at t = " << t;
        }
    }

    float silence[512] = {};
    std::string firstFrameOutput;
    Timer timer;
    Music music;
};

ExpectedCard rect(const std::string& name, float left, float top, float right, float bottom,
                  float z) {
    return ExpectedCard{name, {{left, top}, {left, bottom}, {right, bottom}, {right, top}}, z};
}

ExpectedCard vorrel(float t) {
    return rect("Vorrel", -4.5f, 4.0f, 4.0f, -1.5f, 1.5f * t - 15.0f);
}
ExpectedCard quisp(float t) {
    return rect("Quisp", -2.5f, -1.0f, 2.0f, -3.5f, 1.5f * t - 15.0f);
}
ExpectedCard presents(float t) {
    return rect("Presents", -3.5f, 2.0f, -1.0f, 0.5f, t - 21.0f);
}
ExpectedCard title(float t) {
    return rect("Title", -3.5f, 2.0f, 3.0f, -2.5f, t - 27.0f);
}

TEST_F(CardScenesTest, PrefaceChoosesItsCardsByTheSceneClock) {
    Preface preface(&timer, &music);
    firstFrame(preface);
    EXPECT_EQ(firstFrameOutput, "local_timer : 0\n");

    expectCards(preface, 0.0f, {vorrel(0.0f)}); // 25 units in front of the eye
    expectCards(preface, 6.0f, {vorrel(6.0f)});
    expectCards(preface, 6.001f, {vorrel(6.001f), quisp(6.001f)});
    expectCards(preface, 9.999f, {vorrel(9.999f), quisp(9.999f)});
    expectCards(preface, 10.0f, {quisp(10.0f)});
    expectCards(preface, 14.0f, {presents(14.0f)});
    expectCards(preface, 17.0f, {presents(17.0f)});
    expectCards(preface, 17.001f, {presents(17.001f), title(17.001f)});
    expectCards(preface, 23.0f, {title(23.0f)});
    expectCards(preface, 25.9f, {title(25.9f)});
    EXPECT_EQ(laterOutput(), "");
}

TEST_F(CardScenesTest, PrefaceCornersTrembleWithTheirSpectrumEntriesOnly) {
    Preface preface(&timer, &music);
    firstFrame(preface);

    // Every entry loud: those the cards don't read must change nothing.
    float spectrum[512];
    for (float& s : spectrum) {
        s = 0.9f;
    }
    const int named[] = {42, 45, 49, 53, 54, 55, 56, 59};
    const float values[] = {0.05f, 0.2f, 0.4f, 0.3f, 0.1f, 0.12f, 0.15f, 0.25f};
    float S[512] = {};
    for (int i = 0; i < 8; ++i) {
        spectrum[named[i]] = values[i];
        S[named[i]] = values[i];
    }
    soundlayer::overrideSpectrum(spectrum);

    const float t = 7.0f;
    const ExpectedCard v{"Vorrel",
                         {{-4.5f - 6 * S[54], 4 + 6 * S[45]},
                          {-4.5f, -1.5f + 6 * S[42]},
                          {4, -1.5f},
                          {4 - 6 * S[53], 4 - 6 * S[56]}},
                         1.5f * t - 15.0f};
    const ExpectedCard q{"Quisp",
                         {{-2.5f - 6 * S[42], -1 - 6 * S[59]},
                          {-2.5f, -3.5f},
                          {2, -3.5f - 6 * S[55]},
                          {2 + 5 * S[49], -1}},
                         1.5f * t - 15.0f};
    expectCards(preface, t, {v, q});

    // With only unnamed entries loud the cards are the silent rectangles.
    for (int i : named) {
        spectrum[i] = 0.0f;
    }
    expectCards(preface, 8.0f, {vorrel(8.0f), quisp(8.0f)});
    EXPECT_EQ(laterOutput(), "");
}

TEST_F(CardScenesTest, TestShowsItsCreditCardsInFiveWindows) {
    ::Test test(&timer, &music);
    firstFrame(test);
    EXPECT_EQ(firstFrameOutput, "");

    auto code = [](float t) { return rect("Code", -3.5f, 2, -2, 0.5f, t - 7); };
    auto pevrick = [](float t) { return rect("Pevrick", -1.5f, 3, 3, 0.5f, t - 7); };
    auto telquin = [](float t) { return rect("Telquin", -1.5f, -1, 2, -3.5f, t - 9); };
    auto musicCard = [](float t) { return rect("Music", -3.5f, 2, -1, -0.5f, t - 19); };
    auto andCard = [](float t) { return rect("And", 1.5f, 3, 3, 1.5f, t - 21); };
    auto gfx = [](float t) { return rect("Gfx", 1.5f, 0, 3.5f, -2.5f, t - 23); };
    auto ulmerd = [](float t) { return rect("Ulmerd", -1.5f, 3, 3, 0.5f, t - 25); };

    expectCards(test, 0.0f, {code(0)});
    expectCards(test, 5.0f, {code(5)});
    expectCards(test, 7.0f, {code(7), pevrick(7)});
    expectCards(test, 16.0f, {code(16), pevrick(16), telquin(16)});
    expectCards(test, 19.0f, {code(19), pevrick(19), telquin(19), musicCard(19), andCard(19)});
    expectCards(test, 20.0f, {musicCard(20), andCard(20)});
    expectCards(test, 25.0f, {andCard(25), gfx(25), ulmerd(25)});
    expectCards(test, 31.9f, {ulmerd(31.9f)});
    EXPECT_EQ(laterOutput(), "");
}

TEST_F(CardScenesTest, SexBuildsItsMessageCardByCardAndKeepsIt) {
    Sex sex(&timer, &music);
    firstFrame(sex);
    EXPECT_EQ(firstFrameOutput, "local_timer : 0\n");

    const float z = -7.0f;
    const std::vector<ExpectedCard> all = {
        rect("Greetings", -6, 5, -2, 3, z),       rect("Is", -1.9f, 5, 0.9f, 3, z),
        rect("Like", 1, 5, 3.5f, 3.5f, z),        rect("Sex", 3.6f, 6, 7.2f, 3, z),
        rect("Some1", -5.5f, 1.9f, -2, -1.1f, z), rect("Get", -1.5f, 1.9f, 1, -1.1f, z),
        rect("It", 1.5f, 1.9f, 4.2f, -1.1f, z),   rect("Some2", -4.5f, -2.3f, -1, -5, z),
        rect("Dont", -0.5f, -2.3f, 1.5f, -5, z),  rect("Smiley", 2, -2.3f, 4.5f, -5, z)};
    auto first = [&](size_t n) { return std::vector<ExpectedCard>(all.begin(), all.begin() + n); };

    expectCards(sex, 1.0f, {});
    expectCards(sex, 2.0f, {});
    expectCards(sex, 2.001f, first(1));
    expectCards(sex, 9.0f, first(4));
    expectCards(sex, 9.001f, first(7));
    expectCards(sex, 13.0f, first(9));
    expectCards(sex, 13.001f, first(10));
    expectCards(sex, 16.9f, first(10));
    EXPECT_EQ(laterOutput(), "");
}

TEST_F(CardScenesTest, ACardSceneLeavesBlendingAndTexturingOffAndTheStacksAsFound) {
    Preface preface(&timer, &music);
    testing::internal::CaptureStdout();
    preface.render();
    testing::internal::GetCapturedStdout();
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    gltest::setTick(BASE_TICK + 7000);
    preface.render();
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST), GL_TRUE);
    EXPECT_EQ(glIsEnabled(GL_CULL_FACE), GL_TRUE);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    // No picture files here: the cards draw white, the background stays black.
    EXPECT_EQ(gltest::pixel(400, 400).r, 255);
    EXPECT_EQ(gltest::pixel(10, 10).r, 0);
}

// In a display larger than 800 x 600 the scene still draws into the lower-left 800 x 600.
void drawOnALargeDisplay() {
    gltest::openDisplay(1024, 768);
    gltest::setTick(BASE_TICK);
    Timer timer;
    Music music;
    Sex sex(&timer, &music);
    sex.render();
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f); // would show red where the scene's clear did not reach
    gltest::setTick(BASE_TICK + 16000);
    sex.render();
    // The Sex card (x 3.6 to 7.2) fills the right of the 800-wide region near the top.
    const bool inside = gltest::pixel(700, 500).r == 255 && gltest::pixel(700, 500).g == 255;
    const bool outside = gltest::pixel(900, 700).r == 0 && gltest::pixel(1000, 100).r == 0;
    const bool above = gltest::pixel(100, 700).r == 0;
    exit(inside && outside && above ? 0 : 1);
}

TEST(CardScenesLargeDisplay, DrawsIntoTheLowerLeft800By600) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(drawOnALargeDisplay(), ::testing::ExitedWithCode(0), "");
}

} // namespace
