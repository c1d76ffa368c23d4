// vorrel-capture: the demo rendered headless to PNG frames or a video file, frame-exact.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "HeadlessEnv.h"
#include "capture/Capture.h"
#include "capture/CaptureOptions.h"
#include "capture/EncoderProcess.h"
#include "capture/Environment.h"
#include "cli/OptionParser.h"

int main(int argc, char** argv) {
    if (OptionParser::wantsHelp(argc, argv)) {
        printf("%s\n", CaptureOptions::usage());
        return 0;
    }
    CaptureOptions options;
    std::string error;
    if (!options.parse(argc, argv, error) ||
        (!options.dataDir.empty() &&
         !OptionParser::enterDataFolder(options.dataDir, {&options.framesDir, &options.videoFile},
                                        error))) {
        fprintf(stderr, "vorrel-capture: %s (--help for the options)\n", error.c_str());
        return 2;
    }
    // Headless by default: a real OpenGL context without a display; the sound is never
    // played, only read.
    for (const auto& variable : HEADLESS_ENV) {
        Environment::setDefault(variable[0], variable[1]);
    }
    EncoderProcess::ignoreBrokenPipe(); // a dead ffmpeg shows as a failed write instead

    // Heap-held and never deleted: like the demo, the process ends with its scenes alive.
    Capture* capture = new Capture(options);
    const int status = capture->run();
    SDL_Quit();
    exit(status);
}
