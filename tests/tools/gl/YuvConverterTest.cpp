// The colour conversion's chroma lies where the H.264 stream's tag says: one lit pixel's
// chroma, placed where the tag puts the chroma samples, is centred on that pixel.
#include "gl/GLEntryPoints.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture/VideoEncoder.h"
#include "gl/VideoColour.h"
#include "gl/YuvConverter.h"
#include "support/GLTest.h"

namespace {

class YuvConverterTest : public GLTest {};

// Where the tag the encoder writes puts a chroma sample across its pair of pixels, from the
// first pixel's centre: H.264 without a tag means left, 0; centre is 0.5. -1 for other tags.
double chromaAcross(const std::vector<std::string>& args) {
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "-chroma_sample_location") {
            return args[i + 1] == "center" ? 0.5 : (args[i + 1] == "left" ? 0.0 : -1.0);
        }
    }
    return 0.0;
}

TEST_F(YuvConverterTest, OneLitPixelsChromaIsCentredOnItWhereTheTagPlacesTheSamples) {
    const int w = 16;
    const int h = 8;
    const double across = chromaAcross(VideoEncoder::encodeArguments(h, false, "x.mp4"));
    ASSERT_GE(across, 0.0) << "a chroma siting this test does not know";
    std::string error;
    ASSERT_TRUE(GLEntryPoints::load(error)) << error;
    GLuint texture = 0;
    GLuint fbo = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    const VideoColour colour = VideoColour::forHeight(h);
    YuvConverter converter;
    ASSERT_TRUE(converter.create(w, h, colour.kr, colour.kb, error)) << error;

    // A red pixel on black at either pixel of a pair, on either row of a pair: their chroma's
    // centres, the V plane's excess over 128 weighing each sample at its place in luma pixels,
    // lie halfway between them (the filters are symmetric about a sample's place).
    const int lit[2][2] = {{6, 2}, {7, 3}};
    double x = 0.0;
    double y = 0.0;
    for (const auto& p : lit) {
        std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4, 0);
        rgba[(static_cast<size_t>(p[1]) * w + p[0]) * 4] = 255;
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        converter.convert(fbo);
        std::vector<uint8_t> planes(converter.bytes());
        converter.read(planes.data());
        const uint8_t* v = &planes[w * h + (w / 2) * (h / 2)];
        double sum = 0.0;
        double sx = 0.0;
        double sy = 0.0;
        for (int row = 0; row < h / 2; ++row) {
            for (int col = 0; col < w / 2; ++col) {
                const double excess = v[row * (w / 2) + col] - 128.0;
                sum += excess;
                sx += excess * (2 * col + across);
                sy += excess * (2 * row + 0.5);
            }
        }
        ASSERT_GT(sum, 0.0);
        x += sx / sum / 2;
        y += sy / sum / 2;
    }
    EXPECT_NEAR(x, 6.5, 0.1);
    EXPECT_NEAR(y, 2.5, 0.1);
    glDeleteFramebuffers(1, &fbo);
    glDeleteTextures(1, &texture);
}

} // namespace
