// In a page: SDL's video mode has a WebGL context only where the browser gave one.
#include "platform/DrawingContext.h"

#include <emscripten/html5.h>

bool DrawingContext::made() {
    return emscripten_webgl_get_current_context() != 0;
}
