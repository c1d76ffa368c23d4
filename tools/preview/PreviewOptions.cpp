// Parsing and checking the preview tool's options.
#include "PreviewOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "FrameSize.h"
#include "main/Schedule.h"

namespace {

const std::string RANGE = "0 to " + std::to_string(static_cast<int>(Schedule::END));

bool parseNumber(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = strtod(text.c_str(), &end);
    return errno == 0 && *end == '\0' && std::isfinite(value);
}

bool onTimeline(double t) {
    return t >= 0.0 && t <= Schedule::END;
}

} // namespace

PreviewOptions::PreviewOptions()
    : from(0.0), fromGiven(false), loopFrom(0.0), loopTo(0.0), loop(false), paused(false),
      fullScreen(false), shotsDir("."), width(800), height(600) {}

const char* PreviewOptions::usage() {
    return "usage: vorrel-preview [--from S] [--loop A,B] [--paused] [--fullscreen] [--shots DIR]\n"
           "                      [--size WxH]\n"
           "\n"
           "The demo's own timeline in a window (800 x 600 unless --size), with its sound, to "
           "seek,\n"
           "pause and reload while working on it. A seek is exact: the frame shown after a seek "
           "to\n"
           "T is the frame of a run at 60 frames a second, the one vorrel-capture --at T writes. "
           "At\n"
           "the end of the timeline the preview pauses on its last frame.\n"
           "\n"
           "Options:\n"
           "  --from S      start at S seconds of the timeline (0 to 266)\n"
           "  --loop A,B    play the span from A to B seconds over and over; starts at A\n"
           "                unless --from is given\n"
           "  --paused      start paused\n"
           "  --fullscreen  start full screen instead of in a window\n"
           "  --shots DIR   the folder s writes frames into (default: the current folder)\n"
           "  --size WxH    the window's size in pixels (default 800x600): the picture is drawn\n"
           "                at that size into its largest centred 4:3 region, black bars beside\n"
           "  --help        this text\n"
           "\n"
           "Keys:\n"
           "  space                  pause or play, picture and sound together\n"
           "  Left, Right            seek 5 s back, forward\n"
           "  Shift+Left, Right      seek 1 s\n"
           "  Ctrl+Left, Right       one frame (1/60 s) back, forward, pausing first\n"
           "  Page Up, Page Down     the start of the previous, the next scene\n"
           "  Home                   the start of the timeline\n"
           "  r                      read every picture from disk again, staying at the same time\n"
           "  h                      show or hide the status line: time, scene, the scene's\n"
           "                         frame time in ms, frames a second\n"
           "  s                      write the shown frame as DIR/t-SSS.mmm.png, the name\n"
           "                         vorrel-capture --at gives it\n"
           "  p                      print the time, the frame, the scene and the sound's\n"
           "                         audible position on standard output\n"
           "  f                      full screen or window\n"
           "  Escape, q              quit";
}

double PreviewOptions::startTime() const {
    return fromGiven ? from : (loop ? loopFrom : 0.0);
}

bool PreviewOptions::parse(int argc, char** argv, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--paused" || option == "--fullscreen") {
            (option == "--paused" ? paused : fullScreen) = true;
            continue;
        }
        if (option != "--from" && option != "--loop" && option != "--shots" && option != "--size") {
            error = "unknown option '" + option + "'";
            return false;
        }
        if (i + 1 >= argc) {
            error = "option " + option + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (option == "--from") {
            if (!parseNumber(value, from) || !onTimeline(from)) {
                error = "--from needs a time from " + RANGE + " seconds, not '" + value + "'";
                return false;
            }
            fromGiven = true;
        } else if (option == "--loop") {
            const size_t comma = value.find(',');
            if (comma == std::string::npos || !parseNumber(value.substr(0, comma), loopFrom) ||
                !parseNumber(value.substr(comma + 1), loopTo) || !onTimeline(loopFrom) ||
                !onTimeline(loopTo)) {
                error =
                    "--loop needs two times from " + RANGE + " seconds as A,B, not '" + value + "'";
                return false;
            }
            if (loopTo <= loopFrom) {
                error = "--loop " + value + " runs backwards: B must come after A";
                return false;
            }
            loop = true;
        } else if (option == "--size") {
            if (!FrameSize::parse(value.c_str(), width, height)) {
                error = "--size needs WIDTHxHEIGHT in pixels, each from 1 to " +
                        std::to_string(FrameSize::MAX_SIDE) + ", not '" + value + "'";
                return false;
            }
        } else {
            shotsDir = value;
        }
    }
    return true;
}
