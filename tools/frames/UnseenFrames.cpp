// The empty scissor box, and the rasteriser's discard, around frames that only move the
// scenes on.
#include "frames/UnseenFrames.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdlib>

namespace {

// OpenGL 3.0 brought GL_RASTERIZER_DISCARD; before it the enum is an error.
bool canDiscard() {
    static const bool can = [] {
        const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
        return version && atoi(version) >= 3;
    }();
    return can;
}

} // namespace

UnseenFrames::UnseenFrames() : discarding(canDiscard() && !glIsEnabled(GL_RASTERIZER_DISCARD)) {
    glPushAttrib(GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    if (discarding) {
        glEnable(GL_RASTERIZER_DISCARD);
    }
}

UnseenFrames::~UnseenFrames() {
    if (discarding) {
        glDisable(GL_RASTERIZER_DISCARD);
    }
    glPopAttrib();
}
