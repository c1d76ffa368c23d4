// The preview tool's command line: where to start, a span to loop, how to open, where shots go.
#pragma once

#include <string>

class PreviewOptions {
  public:
    PreviewOptions();

    // Reads argv; on a bad command line returns false with a one-line reason in error.
    bool parse(int argc, char** argv, std::string& error);
    // The options and the keys, for --help.
    static std::string usage();
    // Where the preview starts: --from, else the loop's start, else 0; in seconds.
    double startTime() const;

    double from;
    bool fromGiven;
    double loopFrom; // seconds; loopTo > loopFrom when a loop was given
    double loopTo;
    bool loop;
    bool paused;
    bool fullScreen;
    std::string shotsDir;
    // The window's size. Scenes draw in an 800 x 600 region at its lower-left corner; a
    // larger window, drawn at a larger scale, comes with the render scale.
    int width;
    int height;
    std::string dataDir; // where the pictures and the track are; empty: the working folder
};
