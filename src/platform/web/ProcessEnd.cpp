// In a page: the browser's main loop keeps the runtime alive, and exit alone would end only the
// frame it is called in, so the runtime is ended with the loop, and the page is told.
#include "platform/ProcessEnd.h"

#include <emscripten.h>

#include <cstdlib>

void ProcessEnd::now(int status) {
    emscripten_cancel_main_loop();
    emscripten_force_exit(status);
    exit(status);
}
