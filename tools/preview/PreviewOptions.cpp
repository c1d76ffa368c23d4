// Parsing and checking the preview tool's options.
#include "preview/PreviewOptions.h"

#include "cli/OptionParser.h"

PreviewOptions::PreviewOptions()
    : from(0.0), fromGiven(false), loopFrom(0.0), loopTo(0.0), loop(false), paused(false),
      fullScreen(false), shotsDir("."), width(800), height(600), dataDir() {}

std::string PreviewOptions::usage() {
    return std::string(
               "usage: vorrel-preview [--from S] [--loop A,B] [--paused] [--fullscreen] [--shots "
               "DIR]\n"
               "                      [--size WxH] [--data DIR]\n"
               "\n"
               "The demo's own timeline in a window (800 x 600 unless --size), with its sound, to "
               "seek,\n"
               "pause and reload while working on it. A seek is exact: the frame shown after a "
               "seek "
               "to\n"
               "T is the frame of a run at 60 frames a second, the one vorrel-capture --at T "
               "writes. "
               "At\n"
               "the end of the timeline the preview pauses on its last frame.\n"
               "\n"
               "Options:\n"
               "  --from S      start at S seconds of the timeline (") +
           OptionParser::timelineRange() +
           ")\n"
           "  --loop A,B    play the span from A to B seconds over and over; starts at A\n"
           "                unless --from is given\n"
           "  --paused      start paused\n"
           "  --fullscreen  start full screen instead of in a window\n"
           "  --shots DIR   the folder s writes frames into (default: the current folder)\n"
           "  --size WxH    the window's size in pixels (default 800x600): the picture is drawn\n"
           "                at that size into its largest centred 4:3 region, black bars beside\n"
           "  --data DIR    read the pictures and the track from DIR (default: the current\n"
           "                folder); a relative --shots still means the current one\n"
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
    OptionParser parser;
    parser.flag("--paused", &paused);
    parser.flag("--fullscreen", &fullScreen);
    parser.option("--from", [this](const std::string& value, std::string& why) {
        fromGiven = true;
        return OptionParser::time("--from", value, from, why);
    });
    parser.option("--loop", [this](const std::string& value, std::string& why) {
        const size_t comma = value.find(',');
        std::string ignored;
        if (comma == std::string::npos ||
            !OptionParser::time("--loop", value.substr(0, comma), loopFrom, ignored) ||
            !OptionParser::time("--loop", value.substr(comma + 1), loopTo, ignored)) {
            why = "--loop needs two times from " + OptionParser::timelineRange() +
                  " seconds as A,B, not '" + value + "'";
            return false;
        }
        if (loopTo <= loopFrom) {
            why = "--loop " + value + " runs backwards: B must come after A";
            return false;
        }
        loop = true;
        return true;
    });
    parser.option("--size", [this](const std::string& value, std::string& why) {
        return OptionParser::size("--size", value, width, height, why);
    });
    parser.option("--shots", [this](const std::string& value, std::string&) {
        shotsDir = value;
        return true;
    });
    parser.option("--data", [this](const std::string& value, std::string&) {
        dataDir = value;
        return true;
    });
    return parser.parse(argc, argv, error);
}
