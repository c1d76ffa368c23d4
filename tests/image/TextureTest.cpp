// Texture loading seen on screen: file types, orientation, channel order, depths, failures.
#include <FreeImage.h>
#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "image/Texture.h"
#include "scenes/Card.h"
#include "support/GLTest.h"

namespace {

// A PNG written byte by byte, for the kinds FreeImage does not write (grey with alpha, a
// header that lies): rows are stored uncompressed, each with filter byte 0.
class PngBytes {
  public:
    PngBytes(uint32_t width, uint32_t height, int colourType, int depth) {
        bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        std::vector<uint8_t> header;
        be32(header, width);
        be32(header, height);
        header.insert(header.end(), {uint8_t(depth), uint8_t(colourType), 0, 0, 0});
        chunk("IHDR", header);
    }
    void chunk(const char* type, const std::vector<uint8_t>& data) {
        std::vector<uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        be32(bytes, static_cast<uint32_t>(data.size()));
        bytes.insert(bytes.end(), body.begin(), body.end());
        be32(bytes, crc(body));
    }
    // The image data: the rows in stored deflate blocks inside a zlib stream, then the end.
    void finish(const std::vector<uint8_t>& raw) {
        std::vector<uint8_t> z = {0x78, 0x01};
        size_t at = 0;
        do {
            const size_t n = std::min<size_t>(raw.size() - at, 65535);
            z.insert(z.end(), {uint8_t(at + n == raw.size()), uint8_t(n), uint8_t(n >> 8),
                               uint8_t(~n), uint8_t(~n >> 8)});
            z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
            at += n;
        } while (at < raw.size());
        uint32_t a = 1, b = 0;
        for (uint8_t v : raw) {
            a = (a + v) % 65521;
            b = (b + a) % 65521;
        }
        be32(z, b << 16 | a);
        chunk("IDAT", z);
        chunk("IEND", {});
    }
    std::vector<uint8_t> bytes;

  private:
    static void be32(std::vector<uint8_t>& out, uint32_t v) {
        out.insert(out.end(), {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)});
    }
    static uint32_t crc(const std::vector<uint8_t>& data) {
        uint32_t c = 0xFFFFFFFFu;
        for (uint8_t v : data) {
            c ^= v;
            for (int k = 0; k < 8; ++k) {
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
            }
        }
        return ~c;
    }
};

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

    std::string write(const std::vector<uint8_t>& bytes, const std::string& name) {
        const std::string path = dir + "/" + name;
        FILE* f = fopen(path.c_str(), "wb");
        EXPECT_NE(f, nullptr) << path;
        if (f) {
            EXPECT_EQ(fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
            fclose(f);
        }
        return path;
    }

    // Two halves: left (a, alpha a) and right (b, alpha b) in one grey level, rows of filter 0.
    static std::vector<uint8_t> greyAlphaRows(int w, int h, uint8_t grey, uint8_t left,
                                              uint8_t right) {
        std::vector<uint8_t> raw;
        for (int y = 0; y < h; ++y) {
            raw.push_back(0);
            for (int x = 0; x < w; ++x) {
                raw.insert(raw.end(), {grey, x < w / 2 ? left : right});
            }
        }
        return raw;
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

TEST_F(TextureTest, PicturesTheGeneratorNeverMakesShowByTheLoadersRules) {
    // Grey with alpha: an opaque left half, a half-transparent right half, over black.
    PngBytes greyAlpha(64, 64, 4, 8);
    greyAlpha.finish(greyAlphaRows(64, 64, 200, 255, 128));
    Texture greyAlphaTexture(write(greyAlpha.bytes, "grey-alpha.png"));
    EXPECT_EQ(internalFormat(), GL_RGBA);
    drawFullScreen(greyAlphaTexture);
    EXPECT_NEAR(gltest::pixel(200, 300).g, 200, 2);
    EXPECT_NEAR(gltest::pixel(600, 300).g, 100, 2);

    // A palette whose second entry is fully transparent: the right half shows the black.
    PngBytes palette(64, 64, 3, 8);
    palette.chunk("PLTE", {255, 0, 0, 0, 0, 255});
    palette.chunk("tRNS", {255, 0});
    std::vector<uint8_t> indices;
    for (int y = 0; y < 64; ++y) {
        indices.push_back(0);
        for (int x = 0; x < 64; ++x) {
            indices.push_back(x < 32 ? 0 : 1);
        }
    }
    palette.finish(indices);
    Texture paletteTexture(write(palette.bytes, "palette-trns.png"));
    drawFullScreen(paletteTexture);
    const gltest::Rgba red = gltest::pixel(200, 300), clear = gltest::pixel(600, 300);
    EXPECT_EQ(red.r + red.g * 256 + red.b * 65536, 255);
    EXPECT_EQ(clear.r + clear.g + clear.b, 0);

    // 16 bits a channel with alpha, and interlaced (Adam7): the quadrants as from 8 bits.
    FIBITMAP* deep = FreeImage_AllocateT(FIT_RGBA16, 64, 64);
    for (int row = 0; row < 64; ++row) {
        FIRGBA16* line = reinterpret_cast<FIRGBA16*>(FreeImage_GetScanLine(deep, 63 - row));
        for (int x = 0; x < 64; ++x) {
            const bool top = row < 32, left = x < 32;
            line[x] = {static_cast<WORD>((top ? left : !left) ? 65535 : 0),
                       static_cast<WORD>(!left ? 65535 : 0), static_cast<WORD>(top ? 0 : 65535),
                       static_cast<WORD>(!top && !left ? 32896 : 65535)};
        }
    }
    Texture deepTexture(save(deep, FIF_PNG, "deep-alpha.png"));
    drawFullScreen(deepTexture);
    expectQuadrants("16-bit PNG with alpha", 2, 128);
    Texture interlaced(save(quadrants(24), FIF_PNG, "interlaced.png", PNG_INTERLACED));
    drawFullScreen(interlaced);
    expectQuadrants("interlaced PNG");

    // A progressive JPEG decodes like a baseline one.
    Texture progressive(
        save(quadrants(24), FIF_JPEG, "progressive.jpg", JPEG_QUALITYSUPERB | JPEG_PROGRESSIVE));
    drawFullScreen(progressive);
    expectQuadrants("progressive JPEG", 12);

    // 1 x 1 fills the card; 3 x 5 (rows padded to 4 bytes, sides no power of two, scaled to
    // 4 x 4 on upload) keeps its columns: red, green, blue from left to right (a row read with
    // the wrong padding would shear them).
    FIBITMAP* dot = FreeImage_Allocate(1, 1, 24);
    RGBQUAD orange = {0, 128, 255, 0};
    FreeImage_SetPixelColor(dot, 0, 0, &orange);
    Texture dotTexture(save(dot, FIF_PNG, "dot.png"));
    drawFullScreen(dotTexture);
    for (int x : {5, 400, 795}) {
        const gltest::Rgba c = gltest::pixel(x, 300);
        EXPECT_EQ(c.r * 65536 + c.g * 256 + c.b, 255 * 65536 + 128 * 256) << x;
    }
    FIBITMAP* odd = FreeImage_Allocate(3, 5, 24);
    const RGBQUAD columns[3] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
    for (unsigned y = 0; y < 5; ++y) {
        for (unsigned x = 0; x < 3; ++x) {
            FreeImage_SetPixelColor(odd, x, y, const_cast<RGBQUAD*>(&columns[x]));
        }
    }
    Texture oddTexture(save(odd, FIF_PNG, "odd.png"));
    drawFullScreen(oddTexture);
    const gltest::Rgba left = gltest::pixel(100, 300), middle = gltest::pixel(400, 300),
                       right = gltest::pixel(700, 300);
    EXPECT_TRUE(left.r > 200 && left.g < 50 && left.b < 50);
    EXPECT_TRUE(middle.g > 2 * middle.r && middle.g > 2 * middle.b);
    EXPECT_TRUE(right.b > 200 && right.r < 50 && right.g < 50);
}

TEST_F(TextureTest, AHeaderDeclaringAHugePictureDrawsInPlainVertexColour) {
    // 100000 x 100000 grey with alpha (40 GB as 32 bits), followed by one row of data.
    PngBytes huge(100000, 100000, 4, 8);
    huge.finish(greyAlphaRows(100000, 1, 50, 255, 255));
    Texture texture(write(huge.bytes, "huge.png"));
    drawFullScreen(texture);
    const gltest::Rgba c = gltest::pixel(400, 300);
    EXPECT_EQ(c.r + c.g + c.b, 3 * 255);
}

} // namespace
