// The still-picture scene: the picture over the whole frame, black through its transparency.
#include <FreeImage.h>
#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/Music.h"
#include "platform/Timer.h"
#include "scenes/Tunnel2.h"
#include "support/DataFolder.h"
#include "support/GLTest.h"

namespace {

class Tunnel2Test : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        ASSERT_TRUE(data.ready);
    }
    DataFolder data;
};

TEST_F(Tunnel2Test, ThePictureCoversTheFrameUprightWithBlackThroughItsAlpha) {
    // Orange, opaque in the top half of the picture, half transparent in the bottom half.
    FIBITMAP* image = FreeImage_Allocate(64, 64, 32);
    for (int y = 0; y < 64; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, y); // scan line 0 is the picture's bottom
        for (int x = 0; x < 64; ++x) {
            line[x * 4 + FI_RGBA_RED] = 255;
            line[x * 4 + FI_RGBA_GREEN] = 128;
            line[x * 4 + FI_RGBA_BLUE] = 0;
            line[x * 4 + FI_RGBA_ALPHA] = y < 32 ? 128 : 255;
        }
    }
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, image, "textures/tunnel2.png", 0));
    FreeImage_Unload(image);

    Timer timer;
    Music music;
    Tunnel2 scene(&timer, &music);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    scene.render();
    gltest::setTick(5000);
    scene.render(); // every frame is the same

    const gltest::Rgba top = gltest::pixel(400, 500);
    EXPECT_EQ(top.r, 255);
    EXPECT_NEAR(top.g, 128, 1);
    EXPECT_EQ(top.b, 0);
    const gltest::Rgba bottom = gltest::pixel(400, 100);
    EXPECT_NEAR(bottom.r, 128, 2);
    EXPECT_NEAR(bottom.g, 64, 2);
    EXPECT_EQ(bottom.b, 0);
    // Into the corners (half a texel in, where the repeat wrap does not blend opposite edges).
    for (int x : {10, 790}) {
        EXPECT_EQ(gltest::pixel(x, 10).r, bottom.r) << "corner " << x;
        EXPECT_EQ(gltest::pixel(x, 590).r, 255) << "corner " << x;
    }
    EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
}

} // namespace
