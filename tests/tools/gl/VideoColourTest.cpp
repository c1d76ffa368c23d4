// The colour standard a video gets by its height: BT.601 up to 600 lines, BT.709 above.
#include <gtest/gtest.h>

#include <string>

#include "gl/VideoColour.h"

namespace {

TEST(VideoColour, SwitchesToBt709JustAbove600Lines) {
    for (int height : {480, 600}) {
        const VideoColour c = VideoColour::forHeight(height);
        EXPECT_EQ(std::string(c.matrix), "smpte170m") << height;
        EXPECT_EQ(std::string(c.space) + c.primaries + c.transfer, "smpte170msmpte170msmpte170m")
            << height;
    }
    for (int height : {601, 720, 2160}) {
        const VideoColour c = VideoColour::forHeight(height);
        EXPECT_EQ(std::string(c.matrix), "bt709") << height;
        EXPECT_EQ(std::string(c.space) + c.primaries + c.transfer, "bt709bt709bt709") << height;
    }
}

} // namespace
