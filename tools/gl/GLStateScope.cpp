// Saving and restoring the state the scenes keep, around a tool's drawing.
#include "gl/GLStateScope.h"

#include <GL/gl.h>

namespace {

const GLenum SWITCHED_OFF[] = {GL_DEPTH_TEST, GL_STENCIL_TEST,  GL_ALPHA_TEST,    GL_BLEND,
                               GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_FOG,
                               GL_LIGHTING,   GL_SCISSOR_TEST,  GL_CULL_FACE,     GL_COLOR_LOGIC_OP,
                               GL_DITHER};

const GLenum STACKS[] = {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW};

} // namespace

GLStateScope::GLStateScope() {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    for (GLenum stack : STACKS) {
        glMatrixMode(stack);
        glPushMatrix();
        glLoadIdentity();
    }
    for (GLenum capability : SWITCHED_OFF) {
        glDisable(capability);
    }
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

GLStateScope::~GLStateScope() {
    for (GLenum stack : STACKS) {
        glMatrixMode(stack);
        glPopMatrix();
    }
    glPopClientAttrib();
    glPopAttrib(); // the matrix mode too
}
