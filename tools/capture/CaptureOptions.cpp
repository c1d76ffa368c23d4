// Parsing and checking the capture tool's options.
#include "CaptureOptions.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "main/Schedule.h"

namespace {

const double TIMELINE_END = Schedule::END;
// As the messages give it: "0 to 266".
const std::string RANGE = "0 to " + std::to_string(static_cast<int>(Schedule::END));

bool parseNumber(const char* text, double& value) {
    if (!text || !*text) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = strtod(text, &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool parseTimes(const std::string& list, std::vector<double>& times) {
    size_t begin = 0;
    while (begin <= list.size()) {
        size_t comma = list.find(',', begin);
        if (comma == std::string::npos) {
            comma = list.size();
        }
        double t = 0.0;
        if (!parseNumber(list.substr(begin, comma - begin).c_str(), t)) {
            return false;
        }
        times.push_back(t);
        begin = comma + 1;
    }
    return !times.empty();
}

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
    : fps(60), from(0.0), to(TIMELINE_END), toGiven(false), framesDir(), videoFile(),
      lossless(false), at(), scene(), silent(false), stats(false), width(800), height(600),
      ssaa(1) {}

const char* CaptureOptions::usage() {
    return "usage: vorrel-capture [--fps N] [--from S] [--to S] [--frames DIR] [--video FILE]\n"
           "                      [--lossless] [--at S[,S...]] [--scene NAME] [--silent] "
           "[--stats]\n"
           "                      [--size WxH] [--ssaa N]\n"
           "  --size WxH     the frame's size in pixels (default 800x600): the picture fills its\n"
           "                 largest centred 4:3 region, the rest is black; even sides for H.264\n"
           "  --ssaa N       draws the picture at N times its size (N from 1 to 4, default 1)\n"
           "                 and filters it down with an area filter: each pixel is the plain\n"
           "                 mean of its N x N samples\n"
           "  --video FILE   H.264 (x264 superfast, CRF 18, yuv420p; BT.601 colours up to 600\n"
           "                 lines, BT.709 above) and AAC; with --lossless, FILE.mkv: FFV1 RGB\n"
           "                 and FLAC\n"
           "  --stats        frame times per scene: draw and finish only (take them without\n"
           "                 --video or --frames, which compete with the drawing for the cores);\n"
           "                 with an output, a read-back line: the filter and the read-back";
}

bool CaptureOptions::parse(int argc, char** argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        const char* value = hasValue ? argv[i + 1] : nullptr;
        double number = 0.0;
        if (option == "--silent") {
            silent = true;
            continue;
        }
        if (option == "--stats") {
            stats = true;
            continue;
        }
        if (option == "--lossless") {
            lossless = true;
            continue;
        }
        if (option != "--fps" && option != "--from" && option != "--to" && option != "--frames" &&
            option != "--video" && option != "--at" && option != "--scene" && option != "--size" &&
            option != "--ssaa") {
            error = "unknown option '" + option + "'";
            return false;
        }
        if (!hasValue) {
            error = "option " + option + " needs a value";
            return false;
        }
        ++i;
        if (option == "--fps") {
            if (!parseNumber(value, number) || number != std::floor(number) || number < 1 ||
                number > 1000) {
                error =
                    "--fps needs a whole number from 1 to 1000, not '" + std::string(value) + "'";
                return false;
            }
            fps = static_cast<int>(number);
        } else if (option == "--from" || option == "--to") {
            if (!parseNumber(value, number) || number < 0.0 || number > TIMELINE_END) {
                error = option + " needs a time from " + RANGE + " seconds, not '" + value + "'";
                return false;
            }
            (option == "--from" ? from : to) = number;
            toGiven = toGiven || option == "--to";
        } else if (option == "--at") {
            at.clear();
            if (!parseTimes(value, at)) {
                error = "--at needs times in seconds separated by commas, not '" +
                        std::string(value) + "'";
                return false;
            }
            for (double t : at) {
                if (t < 0.0 || t >= TIMELINE_END) {
                    error = "--at time " + std::to_string(t) + " is outside " + RANGE + " seconds";
                    return false;
                }
            }
        } else if (option == "--size") {
            if (!FrameSize::parse(value, width, height)) {
                error = "--size needs WIDTHxHEIGHT in pixels, each from 1 to " +
                        std::to_string(MAX_SIDE) + ", not '" + value + "'";
                return false;
            }
        } else if (option == "--ssaa") {
            if (!parseNumber(value, number) || number != std::floor(number) || number < 1 ||
                number > MAX_SSAA) {
                error = "--ssaa needs a whole number from 1 to " + std::to_string(MAX_SSAA) +
                        ", not '" + value + "'";
                return false;
            }
            ssaa = static_cast<int>(number);
        } else if (option == "--frames") {
            framesDir = value;
        } else if (option == "--video") {
            videoFile = value;
        } else {
            scene = value;
        }
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
