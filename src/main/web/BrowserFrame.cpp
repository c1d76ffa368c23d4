// One frame of the demo in the page: the body of the desktop's frame loop, without its swap.
#include "main/web/BrowserFrame.h"

#include <GL/gl.h>
#include <emscripten.h>

void BrowserFrame::draw(Timeline* timeline) {
    Timer::update();
    timeline->window->process_events();
    const int slot = timeline->step();
    if (slot == Schedule::SLOT_COUNT) {
        timeline->window->quit(0);
    }
    EM_ASM(
        {
            if (Module['onFrame'])
                Module['onFrame']($0, $1, $2);
        },
        slot, static_cast<double>(timeline->timer->getElapsedTime()),
        static_cast<double>(timeline->music->audibleFrame()));
    // The browser shows the canvas when control goes back to it: no swap of our own.
    glFlush();
}
