// One frame of the demo in the page: the timeline's frame, without a swap of our own.
#include "web/BrowserFrame.h"

#include <GL/gl.h>
#include <emscripten.h>

#include "web/CanvasSize.h"

void BrowserFrame::draw(Timeline* timeline) {
    CanvasSize::follow();
    const int slot = timeline->frame();
    EM_ASM(
        {
            if (Module['onFrame'])
                Module['onFrame']($0, $1, $2);
        },
        slot, static_cast<double>(timeline->timer->getElapsedTime()),
        static_cast<double>(timeline->music->audibleFrame()));
    // The browser shows the canvas when control goes back to it.
    glFlush();
}
