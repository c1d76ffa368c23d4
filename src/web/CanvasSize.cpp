// Resizing the canvas's drawing buffer and the picture with it.
#include "web/CanvasSize.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "image/RenderScale.h"

int CanvasSize::width = RenderScale::WIDTH;
int CanvasSize::height = RenderScale::HEIGHT;

void CanvasSize::follow() {
    const int wanted = EM_ASM_INT({ return Module['bufferSize'] ? Module['bufferSize']() : 0; });
    // Packed by the page as width * 65536 + height.
    const int w = wanted / 65536;
    const int h = wanted % 65536;
    if (w >= 1 && h >= 1 && (w != width || h != height)) {
        set(w, h);
    }
}

void CanvasSize::set(int w, int h) {
    emscripten_set_canvas_element_size("#canvas", w, h);
    width = w;
    height = h;
    RenderScale::setFrame(w, h);
}
