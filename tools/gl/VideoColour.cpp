// The colour standard of a video by its height.
#include "gl/VideoColour.h"

VideoColour VideoColour::forHeight(int height) {
    if (height > 600) {
        return VideoColour{"bt709", "bt709", "bt709", "bt709", 0.2126f, 0.0722f};
    }
    return VideoColour{"smpte170m", "smpte170m", "smpte170m", "smpte170m", 0.299f, 0.114f};
}
