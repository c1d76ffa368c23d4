// The render scale: the 4:3 region of any frame, rectangles mapped onto it, and every caller in
// pixel units (the scenes' viewport, the tunnel's wires and points, the scroller's lines)
// scaled through it.
#include <GL/gl.h>

#include "image/RenderScale.h"
#include "scenes/SceneSetup.h"
#include "scenes/Scroll.h"
#include "support/GLTest.h"
#include "tunnel/Tunnel.h"

namespace {

class RenderScaleTest : public GLTest {
  protected:
    void TearDown() override {
        RenderScale::reset();
        glViewport(0, 0, 800, 600);
        glLineWidth(1.0f);
        glPointSize(1.0f);
        GLTest::TearDown();
    }
};

void expectRegion(const RenderScale::Region& r, int x, int y, int width, int height,
                  const char* what) {
    EXPECT_EQ(r.x, x) << what;
    EXPECT_EQ(r.y, y) << what;
    EXPECT_EQ(r.width, width) << what;
    EXPECT_EQ(r.height, height) << what;
}

void expectViewport(int x, int y, int width, int height, const char* what) {
    GLint v[4] = {-1, -1, -1, -1};
    glGetIntegerv(GL_VIEWPORT, v);
    expectRegion(RenderScale::Region{v[0], v[1], v[2], v[3]}, x, y, width, height, what);
}

float glFloat(GLenum name) {
    GLfloat value = -1.0f;
    glGetFloatv(name, &value);
    return value;
}

TEST(RenderScaleFit, TheLargestCentredFourByThreeRegion) {
    expectRegion(RenderScale::fit(800, 600), 0, 0, 800, 600, "the picture's own size");
    expectRegion(RenderScale::fit(1600, 1200), 0, 0, 1600, 1200, "twice the size");
    expectRegion(RenderScale::fit(1920, 1080), 240, 0, 1440, 1080, "1080p: pillarbox");
    expectRegion(RenderScale::fit(3840, 2160), 480, 0, 2880, 2160, "2160p: pillarbox");
    expectRegion(RenderScale::fit(1000, 1000), 0, 125, 1000, 750, "square: letterbox");
    // Not a whole 4:3 multiple: the nearest whole region, never wider or taller than the frame.
    expectRegion(RenderScale::fit(1366, 768), 171, 0, 1024, 768, "odd bars split down");
    expectRegion(RenderScale::fit(801, 601), 0, 0, 801, 601, "within a pixel of 4:3");
    expectRegion(RenderScale::fit(2, 1), 0, 0, 1, 1, "never empty");
    // The largest frame the driver allows multiplies without overflow.
    expectRegion(RenderScale::fit(16384, 16384), 0, 2048, 16384, 12288, "largest frame");
}

TEST(RenderScaleFit, FramesBelowOnePixelAreRefusedAndRegionsSetAsGiven) {
    ASSERT_TRUE(RenderScale::setFrame(1920, 1080));
    EXPECT_FALSE(RenderScale::setFrame(0, 600));
    EXPECT_FALSE(RenderScale::setFrame(800, -1));
    EXPECT_FALSE(RenderScale::setRegion(RenderScale::Region{5, 5, 0, 600}));
    expectRegion(RenderScale::region(), 240, 0, 1440, 1080, "after refused frames");
    // A region set as it is: a supersampled target that is all picture.
    ASSERT_TRUE(RenderScale::setRegion(RenderScale::Region{0, 0, 2880, 2160}));
    EXPECT_FLOAT_EQ(RenderScale::scale(), 3.6f);
    expectRegion(RenderScale::toPixels(400, 300, 400, 300), 1440, 1080, 1440, 1080, "quarter");
    RenderScale::reset();
    expectRegion(RenderScale::region(), 0, 0, 800, 600, "after reset");
    EXPECT_EQ(RenderScale::scale(), 1.0f);
}

TEST(RenderScaleFit, RectanglesMapOntoTheRegionAndStillMeet) {
    // The demo's own frame: every rectangle as given.
    expectRegion(RenderScale::toPixels(0, 0, 800, 600), 0, 0, 800, 600, "scale 1");
    expectRegion(RenderScale::toPixels(13, 7, 101, 53), 13, 7, 101, 53, "scale 1, odd");

    ASSERT_TRUE(RenderScale::setFrame(1920, 1080)); // 1.8 pixels a unit
    EXPECT_FLOAT_EQ(RenderScale::scale(), 1.8f);
    expectRegion(RenderScale::toPixels(0, 0, 800, 600), 240, 0, 1440, 1080, "the whole picture");
    // Two halves of an odd width: the edge they share rounds to one pixel column.
    const RenderScale::Region left = RenderScale::toPixels(0, 0, 401, 600);
    const RenderScale::Region right = RenderScale::toPixels(401, 0, 399, 600);
    EXPECT_EQ(left.x + left.width, right.x);
    EXPECT_EQ(right.x + right.width, 240 + 1440);

    ASSERT_TRUE(RenderScale::setFrame(1000, 1000));
    expectRegion(RenderScale::toPixels(400, 300, 400, 300), 500, 500, 500, 375, "letterboxed");
}

TEST_F(RenderScaleTest, GLCallsTakePixelUnits) {
    ASSERT_TRUE(RenderScale::setFrame(1920, 1080));
    RenderScale::viewport(0, 0, 800, 600);
    expectViewport(240, 0, 1440, 1080, "viewport");
    RenderScale::scissor(100, 50, 200, 100);
    GLint box[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    expectRegion(RenderScale::Region{box[0], box[1], box[2], box[3]}, 420, 90, 360, 180,
                 "scissor box");
    RenderScale::lineWidth(2.0f);
    EXPECT_FLOAT_EQ(glFloat(GL_LINE_WIDTH), 3.6f);
    RenderScale::pointSize(3.0f);
    EXPECT_FLOAT_EQ(glFloat(GL_POINT_SIZE), 5.4f);

    // At scale 1 the calls are the plain ones.
    RenderScale::reset();
    RenderScale::viewport(0, 0, 800, 600);
    expectViewport(0, 0, 800, 600, "viewport at scale 1");
    RenderScale::lineWidth(3.0f);
    EXPECT_EQ(glFloat(GL_LINE_WIDTH), 3.0f);
}

// A frame that changes mid-scene (a page's canvas resized) takes with it the state a scene set
// once: the viewport, the scissor box, the line width and the point size follow the new scale.
TEST_F(RenderScaleTest, StateSetOnceFollowsAFrameThatChanges) {
    SceneSetup::cards().apply();
    RenderScale::scissor(100, 50, 200, 100);
    RenderScale::lineWidth(1.5f);
    RenderScale::pointSize(3.0f);
    ASSERT_TRUE(RenderScale::setFrame(1600, 1200));
    expectViewport(0, 0, 1600, 1200, "the viewport at 1600 x 1200");
    GLint box[4] = {-1, -1, -1, -1};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    expectRegion(RenderScale::Region{box[0], box[1], box[2], box[3]}, 200, 100, 400, 200,
                 "the scissor box at 1600 x 1200");
    EXPECT_FLOAT_EQ(glFloat(GL_LINE_WIDTH), 3.0f);
    EXPECT_FLOAT_EQ(glFloat(GL_POINT_SIZE), 6.0f);
    ASSERT_TRUE(RenderScale::setFrame(1920, 1080));
    expectViewport(240, 0, 1440, 1080, "the viewport at 1920 x 1080");
    EXPECT_FLOAT_EQ(glFloat(GL_LINE_WIDTH), 2.7f);
}

// Every drawing call in pixel units asks the scale: at twice the picture's size each leaves
// twice its width behind, and the scenes' viewport covers the frame's region.
TEST_F(RenderScaleTest, EveryPixelUnitCallerFollowsTheScale) {
    ASSERT_TRUE(RenderScale::setFrame(1600, 1200));

    SceneSetup::cards().apply();
    expectViewport(0, 0, 1600, 1200, "the scenes' viewport at 1600 x 1200");
    ASSERT_TRUE(RenderScale::setFrame(1920, 1080));
    SceneSetup::bars().apply();
    expectViewport(240, 0, 1440, 1080, "the scenes' viewport at 1920 x 1080");
    ASSERT_TRUE(RenderScale::setFrame(1600, 1200));

    Tunnel tunnel(nullptr);
    tunnel.create(10.0f, 2.0f, 30, 12);
    glLineWidth(7.0f); // whatever was left before: the wires set their own width
    tunnel.renderWire();
    EXPECT_FLOAT_EQ(glFloat(GL_LINE_WIDTH), 2.0f) << "the wire tube's one-unit lines";
    glLineWidth(7.0f);
    tunnel.renderPoint();
    EXPECT_FLOAT_EQ(glFloat(GL_LINE_WIDTH), 2.0f) << "the ring centres' line";
    EXPECT_FLOAT_EQ(glFloat(GL_POINT_SIZE), 2.0f) << "the points, last one unit";

    Scroll scroll;
    scroll.renderFrame();
    EXPECT_FLOAT_EQ(glFloat(GL_LINE_WIDTH), 2.0f) << "the scroller's frame";
    scroll.renderStats();
    EXPECT_FLOAT_EQ(glFloat(GL_LINE_WIDTH), 6.0f) << "the scroller's mark";
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

} // namespace
