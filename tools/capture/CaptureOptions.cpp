// Parsing and checking the capture tool's options.
#include "capture/CaptureOptions.h"

#include <cctype>

#include "main/FrameClock.h"
#include "main/Schedule.h"

namespace {

bool endsWithMkv(const std::string& file) {
    if (file.size() < 4) {
        return false;
    }
    std::string ext = file.substr(file.size() - 4);
    for (char& c : ext) {
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return ext == ".mkv";
}

} // namespace

CaptureOptions::CaptureOptions()
    : fps(FrameClock::DEFAULT_FPS), from(0.0), to(Schedule::END), toGiven(false), framesDir(),
      videoFile(), lossless(false), at(), scene(), silent(false), everyFrame(false), stats(false),
      width(800), height(600), ssaa(1), dataDir() {}

const char* CaptureOptions::usage() {
    return "usage: vorrel-capture [--fps N] [--from S] [--to S] [--frames DIR] [--video FILE]\n"
           "                      [--lossless] [--at S[,S...]] [--scene NAME] [--silent] "
           "[--stats]\n"
           "                      [--size WxH] [--ssaa N] [--data DIR] [--every-frame]\n"
           "  --size WxH     the frame's size in pixels (default 800x600): the picture fills its\n"
           "                 largest centred 4:3 region, the rest is black; even sides for H.264\n"
           "  --ssaa N       draws the picture at N times its size (N from 1 to 4, default 1)\n"
           "                 and filters it down with an area filter: each pixel is the plain\n"
           "                 mean of its N x N samples\n"
           "  --video FILE   H.264 (x264 superfast, CRF 18, yuv420p; BT.601 colours up to 600\n"
           "                 lines, BT.709 above) and AAC; with --lossless, FILE.mkv: FFV1 RGB\n"
           "                 and FLAC\n"
           "  --data DIR     read the pictures and the track from DIR (default: the current\n"
           "                 folder); relative --frames and --video still mean the current one\n"
           "  --stats        frame times per scene: draw and finish only (take them without\n"
           "                 --video or --frames, which compete with the drawing for the cores);\n"
           "                 with an output, a read-back line: the filter and the read-back\n"
           "  --every-frame  draws every frame before the first one written from its slot's start\n"
           "                 in full, in place of the seek's catch-up: the same frames, slower";
}

bool CaptureOptions::parse(int argc, char** argv, std::string& error) {
    OptionParser parser;
    parser.flag("--silent", &silent);
    parser.flag("--every-frame", &everyFrame);
    parser.flag("--stats", &stats);
    parser.flag("--lossless", &lossless);
    parser.option("--fps", [this](const std::string& value, std::string& why) {
        return OptionParser::whole("--fps", value, 1, 1000, fps, why);
    });
    parser.option("--from", [this](const std::string& value, std::string& why) {
        return OptionParser::time("--from", value, from, why);
    });
    parser.option("--to", [this](const std::string& value, std::string& why) {
        toGiven = true;
        return OptionParser::time("--to", value, to, why);
    });
    parser.option("--at", [this](const std::string& value, std::string& why) {
        if (!OptionParser::times(value, at)) {
            why = "--at needs times in seconds separated by commas, not '" + value + "'";
            return false;
        }
        for (double t : at) {
            if (t < 0.0 || t >= Schedule::END) {
                why = "--at time " + std::to_string(t) + " is outside " +
                      OptionParser::timelineRange() + " seconds";
                return false;
            }
        }
        return true;
    });
    parser.option("--size", [this](const std::string& value, std::string& why) {
        return OptionParser::size("--size", value, width, height, why);
    });
    parser.option("--ssaa", [this](const std::string& value, std::string& why) {
        return OptionParser::whole("--ssaa", value, 1, MAX_SSAA, ssaa, why);
    });
    const auto into = [](std::string& place) {
        return [&place](const std::string& value, std::string&) {
            place = value;
            return true;
        };
    };
    parser.option("--frames", into(framesDir));
    parser.option("--video", into(videoFile));
    parser.option("--scene", into(scene));
    parser.option("--data", into(dataDir));
    if (!parser.parse(argc, argv, error)) {
        return false;
    }
    if (to < from) {
        error = "--to " + std::to_string(to) + " is before --from " + std::to_string(from);
        return false;
    }
    if (!at.empty() && framesDir.empty()) {
        error = "--at writes single frames and needs --frames DIR";
        return false;
    }
    if (!at.empty() && (!videoFile.empty() || !scene.empty())) {
        error = "--at cannot be combined with --video or --scene";
        return false;
    }
    if (lossless && videoFile.empty()) {
        error = "--lossless needs --video FILE.mkv";
        return false;
    }
    // yuv420p keeps one colour sample per 2 x 2 pixels; the lossless master is RGB.
    if (!videoFile.empty() && !lossless && (width % 2 != 0 || height % 2 != 0)) {
        error = "H.264 video needs an even width and height (yuv420p), not " +
                std::to_string(width) + "x" + std::to_string(height);
        return false;
    }
    if (lossless && !endsWithMkv(videoFile)) {
        error =
            "--lossless writes Matroska: the video must be a .mkv file, not '" + videoFile + "'";
        return false;
    }
    return true;
}
