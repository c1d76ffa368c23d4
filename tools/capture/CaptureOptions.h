// The capture tool's command line: what to render, at which rate, and where to write it.
#pragma once

#include <string>
#include <vector>

#include "cli/OptionParser.h"

class CaptureOptions {
  public:
    CaptureOptions();

    // Reads argv; on a bad command line returns false with a one-line reason in error.
    bool parse(int argc, char** argv, std::string& error);
    static const char* usage();

    int fps;
    double from;
    double to;
    bool toGiven;
    std::string framesDir;
    std::string videoFile;
    bool lossless; // the video as an archive master: FFV1 and FLAC in Matroska
    std::vector<double> at;
    std::string scene;
    bool silent;
    bool everyFrame; // each row drawn in full from its slot's start, no catch-up
    bool stats;
    // The output frame in pixels, and the supersampling factor of the picture inside it.
    int width;
    int height;
    int ssaa;
    std::string dataDir; // where the pictures and the track are; empty: the working folder

    // What the options accept; the driver's limits are checked once there is a context.
    static const int MAX_SIDE = OptionParser::MAX_SIDE;
    static const int MAX_SSAA = 4;
};
