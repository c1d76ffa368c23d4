// vorrel-capture: the demo rendered headless to PNG frames or a video file, frame-exact.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Capture.h"
#include "CaptureOptions.h"
#include "EncoderProcess.h"
#include "HeadlessEnv.h"
#include "OptionParser.h"

#ifdef _WIN32
// The C runtime has no setenv; like setenv(..., 0), a value already set is kept.
static int setenv(const char* name, const char* value, int) {
    return getenv(name) ? 0 : _putenv_s(name, value);
}
#endif

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
        setenv(variable[0], variable[1], 0);
    }
    EncoderProcess::ignoreBrokenPipe(); // a dead ffmpeg shows as a failed write instead

    // Heap-held and never deleted: like the demo, the process ends with its scenes alive.
    Capture* capture = new Capture(options);
    const int status = capture->run();
    SDL_Quit();
    exit(status);
}
