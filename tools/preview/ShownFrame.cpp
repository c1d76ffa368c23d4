// Reading the drawn frame back and putting it back, unchanged, for the paused preview.
#include "preview/ShownFrame.h"

#include <GL/gl.h>

#include <cstddef>

#include "gl/GLStateScope.h"

ShownFrame::ShownFrame(int width, int height)
    : pixels(static_cast<size_t>(width) * height * 4), width(width), height(height) {}

void ShownFrame::read() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glPopClientAttrib();
}

void ShownFrame::draw() const {
    // Pixels pass through every per-fragment step that is on: the scope has them all off, so
    // the bytes land as they were read.
    const GLStateScope saved;
    glMatrixMode(GL_PROJECTION);
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
    glPixelZoom(1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glRasterPos2i(0, 0);
    glDrawPixels(width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
}
