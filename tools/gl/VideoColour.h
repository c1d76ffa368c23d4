// How RGB frames become YUV in a video, and the tags that tell players so: chosen by the
// output height alone, the way players guess when a file carries no tags.
#pragma once

class VideoColour {
  public:
    // BT.709 above 600 lines (HD and up), BT.601 as smpte170m at 600 and below; limited range.
    static VideoColour forHeight(int height);

    // The RGB to YUV matrix, as ffmpeg's scale filter names it.
    const char* matrix;
    // The stream's tags: matrix coefficients, primaries and transfer, as ffmpeg names them.
    const char* space;
    const char* primaries;
    const char* transfer;
    // The matrix's luma weights of red and blue (green takes the rest).
    float kr;
    float kb;
};
