// The empty scissor box around frames that only move the scenes on.
#include "UnseenFrames.h"

#include <GL/gl.h>

UnseenFrames::UnseenFrames() {
    glPushAttrib(GL_SCISSOR_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
}

UnseenFrames::~UnseenFrames() {
    glPopAttrib();
}
