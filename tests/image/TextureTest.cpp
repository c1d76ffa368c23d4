// Texture loading seen on screen: file types, orientation, channel order, depths, failures.
#include <FreeImage.h>
#include <GL/gl.h>
#include <unistd.h>

#include <string>

#include "image/Texture.h"
#include "scenes/Card.h"
#include "support/GLTest.h"

namespace {

class TextureTest : public GLTest {
  protected:
    void SetUp() override {
        GLTest::SetUp();
        char pattern[] = "/tmp/vq-texture-XXXXXX";
        dir = mkdtemp(pattern);
    }
    void TearDown() override {
        std::string cmd = "rm -rf " + dir;
        EXPECT_EQ(system(cmd.c_str()), 0);
        GLTest::TearDown();
    }

    // A 64 x 64 picture in quadrants, as seen: red top-left, green top-right, blue
    // bottom-left, white bottom-right; alpha 128 in the bottom-right when the image has alpha.
    FIBITMAP* quadrants(int bpp) {
        FIBITMAP* image = FreeImage_Allocate(64, 64, bpp);
        for (int row = 0; row < 64; ++row) {
            BYTE* line = FreeImage_GetScanLine(image, 63 - row); // scan line 0 is the bottom
            for (int x = 0; x < 64; ++x) {
                const bool top = row < 32;
                const bool left = x < 32;
                const BYTE r = (top ? left : !left) ? 255 : 0;
                const BYTE g = !left ? 255 : 0;
                const BYTE b = top ? 0 : 255;
                BYTE* p = line + x * (bpp / 8);
                p[FI_RGBA_RED] = r;
                p[FI_RGBA_GREEN] = g;
                p[FI_RGBA_BLUE] = b;
                if (bpp == 32) {
                    p[FI_RGBA_ALPHA] = (!top && !left) ? 128 : 255;
                }
            }
        }
        return image;
    }

    std::string save(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& name,
                     int flags = 0) {
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(FreeImage_Save(format, image, path.c_str(), flags)) << path;
        FreeImage_Unload(image);
        return path;
    }

    // Draws the texture as a card over the whole 800 x 600 viewport on black.
    void drawFullScreen(Texture& texture) {
        glViewport(0, 0, 800, 600);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glColor3f(1.0f, 1.0f, 1.0f);
        const float corners[4][2] = {{-1.0f, 1.0f}, {-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}};
        Card::draw(&texture, corners, 0.0f);
    }

    // The four quadrants' centres on screen, as (r, g, b) near the expected colours.
    void expectQuadrants(const std::string& what, int tolerance = 2, int bottomRightAlpha = 255) {
        struct Probe {
            int x, y, r, g, b;
        };
        const int w = bottomRightAlpha; // white blended over black by its alpha
        const Probe probes[] = {{200, 450, 255, 0, 0},
                                {600, 450, 0, 255, 0},
                                {200, 150, 0, 0, 255},
                                {600, 150, w, w, w}};
        for (const Probe& p : probes) {
            const gltest::Rgba c = gltest::pixel(p.x, p.y);
            EXPECT_NEAR(c.r, p.r, tolerance) << what << " at " << p.x << "," << p.y;
            EXPECT_NEAR(c.g, p.g, tolerance) << what << " at " << p.x << "," << p.y;
            EXPECT_NEAR(c.b, p.b, tolerance) << what << " at " << p.x << "," << p.y;
        }
    }

    static GLint internalFormat() {
        GLint format = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        return format;
    }

    std::string dir;
};

TEST_F(TextureTest, FileTypeComesFromTheLastExtensionInAnyCase) {
    Texture texture(dir + "/missing.png");
    const char* names[] = {"png",  "PNG", "Png", "jpg", "JPG", "jpeg",
                           "Jpeg", "bmp", "BMP", "gif", "",    "png "};
    const int types[] = {0, 0, 0, 1, 1, 1, 1, 2, 2, -1, -1, -1};
    for (int i = 0; i < 12; ++i) {
        std::string extension = names[i];
        EXPECT_EQ(texture.getFiletype(extension), types[i]) << names[i];
        for (char c : extension) {
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << "not lower-cased: " << names[i];
        }
    }
    EXPECT_EQ(Texture(dir + "/marble.0000.PNG").filetype, Texture::PNG);
    EXPECT_EQ(Texture(dir + "/a.b.jpeg").filetype, Texture::JPEG);
    EXPECT_EQ(Texture("textures/noextension").filetype, Texture::UNKNOWN);
    EXPECT_EQ(Texture("textures/noextension").textureId, 0u);
    EXPECT_EQ(Texture(dir + "/image.bmp").textureId, 0u);
    EXPECT_EQ(Texture(dir + "/image.gif").textureId, 0u);
    EXPECT_EQ(Texture(dir + "/x.png").filename, dir + "/x.png");
}

TEST_F(TextureTest, ImagesShowUprightInTheirOwnColours) {
    const std::string rgb = save(quadrants(24), FIF_PNG, "rgb.PNG");
    Texture rgbTexture(rgb);
    EXPECT_NE(rgbTexture.textureId, 0u);
    EXPECT_EQ(internalFormat(), GL_RGB);
    drawFullScreen(rgbTexture);
    expectQuadrants("24-bit PNG");

    // Alpha is kept: the half-transparent white corner shows half grey over black.
    const std::string rgba = save(quadrants(32), FIF_PNG, "rgba.png");
    Texture rgbaTexture(rgba);
    EXPECT_EQ(internalFormat(), GL_RGBA);
    drawFullScreen(rgbaTexture);
    expectQuadrants("32-bit PNG", 2, 128);

    const std::string jpeg = save(quadrants(24), FIF_JPEG, "photo.Jpeg", JPEG_QUALITYSUPERB);
    Texture jpegTexture(jpeg);
    drawFullScreen(jpegTexture);
    expectQuadrants("JPEG", 12);

    // The texture is left bound after loading.
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), jpegTexture.textureId);
}

TEST_F(TextureTest, PaletteGreyAndSixteenBitImagesAreConvertedBeforeUpload) {
    // Palette: the quadrants through an 8-bit colour table.
    FIBITMAP* full = quadrants(24);
    FIBITMAP* palette = FreeImage_ColorQuantizeEx(full, FIQ_NNQUANT, 4);
    FreeImage_Unload(full);
    ASSERT_EQ(FreeImage_GetBPP(palette), 8u);
    Texture paletteTexture(save(palette, FIF_PNG, "palette.png"));
    drawFullScreen(paletteTexture);
    expectQuadrants("palette PNG", 8);

    // Grey: the left half black, the right half at 200.
    FIBITMAP* grey = FreeImage_Allocate(64, 64, 8);
    RGBQUAD* ramp = FreeImage_GetPalette(grey);
    for (int i = 0; i < 256; ++i) {
        ramp[i].rgbRed = ramp[i].rgbGreen = ramp[i].rgbBlue = static_cast<BYTE>(i);
    }
    for (int y = 0; y < 64; ++y) {
        BYTE* line = FreeImage_GetScanLine(grey, y);
        for (int x = 0; x < 64; ++x) {
            line[x] = x < 32 ? 0 : 200;
        }
    }
    ASSERT_EQ(FreeImage_GetColorType(grey), FIC_MINISBLACK);
    Texture greyTexture(save(grey, FIF_PNG, "grey.png"));
    drawFullScreen(greyTexture);
    EXPECT_NEAR(gltest::pixel(200, 300).r, 0, 2);
    const gltest::Rgba right = gltest::pixel(600, 300);
    EXPECT_NEAR(right.r, 200, 2);
    EXPECT_NEAR(right.g, 200, 2);
    EXPECT_NEAR(right.b, 200, 2);

    // 16 bits a channel.
    FIBITMAP* deep = FreeImage_AllocateT(FIT_RGB16, 64, 64);
    for (int row = 0; row < 64; ++row) {
        FIRGB16* line = reinterpret_cast<FIRGB16*>(FreeImage_GetScanLine(deep, 63 - row));
        for (int x = 0; x < 64; ++x) {
            const bool top = row < 32;
            const bool left = x < 32;
            line[x].red = (top ? left : !left) ? 65535 : 0;
            line[x].green = !left ? 65535 : 0;
            line[x].blue = top ? 0 : 65535;
        }
    }
    Texture deepTexture(save(deep, FIF_PNG, "deep.png"));
    drawFullScreen(deepTexture);
    expectQuadrants("16-bit PNG", 2);
}

TEST_F(TextureTest, AMissingOrBrokenFileDrawsInPlainVertexColour) {
    const std::string broken = dir + "/broken.png";
    FILE* f = fopen(broken.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("\x89PNG this is not really a picture", f);
    fclose(f);

    const std::string names[] = {dir + "/missing.png", broken, dir + "/missing.jpg",
                                 dir + "/unknown.tga"};
    for (const std::string& name : names) {
        Texture texture(name);
        drawFullScreen(texture);
        for (int x : {100, 400, 700}) {
            const gltest::Rgba c = gltest::pixel(x, 300);
            EXPECT_EQ(c.r, 255) << name;
            EXPECT_EQ(c.g, 255) << name;
            EXPECT_EQ(c.b, 255) << name;
        }
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), GL_FALSE);
        EXPECT_EQ(glIsEnabled(GL_BLEND), GL_FALSE);
    }
}

} // namespace
