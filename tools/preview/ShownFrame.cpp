// Reading the drawn frame back and putting it back, unchanged, for the paused preview.
#include "ShownFrame.h"

#include <GL/gl.h>

#include <cstddef>

ShownFrame::ShownFrame(int width, int height)
    : pixels(static_cast<size_t>(width) * height * 4), width(width), height(height) {}

void ShownFrame::read() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
}

void ShownFrame::draw() const {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, width, height);

    // Pixels pass through every per-fragment step that is on: all of them off, so the
    // bytes land as they were read.
    const GLenum steps[] = {GL_DEPTH_TEST,     GL_STENCIL_TEST, GL_ALPHA_TEST, GL_BLEND,
                            GL_TEXTURE_2D,     GL_FOG,          GL_LIGHTING,   GL_SCISSOR_TEST,
                            GL_COLOR_LOGIC_OP, GL_DITHER};
    for (GLenum step : steps) {
        glDisable(step);
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPixelZoom(1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glRasterPos2i(0, 0);
    glDrawPixels(width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}
