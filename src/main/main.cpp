// The demo's entry: start-up, then the frame loop until the timeline ends or a quit key.
#include "main/Timeline.h"

// SDL.h on Windows renames main to SDL_main for its own start-up code: this file plays that
// part itself, on every platform.
#undef main

// SDL 1.2 calls this from its own start-up code on Windows; main below plays that part here.
int SDL_main(int argc, char** argv) {
    Timeline* timeline = new Timeline();
    timeline->start(argc, argv);
    timeline->run();
}

int main(int argc, char** argv) {
    return SDL_main(argc, argv);
}
