// Naming OpenGL's error flags and reporting a scene whose frame left one.
#include "main/GLErrorCheck.h"

#include <GL/gl.h>

#include <cstdio>

#ifdef VQ_GL_CHECKS
const bool GLErrorCheck::ENABLED = true;
#else
const bool GLErrorCheck::ENABLED = false;
#endif

namespace {

std::string nameOf(GLenum error) {
    switch (error) {
    case GL_INVALID_ENUM:
        return "GL_INVALID_ENUM";
    case GL_INVALID_VALUE:
        return "GL_INVALID_VALUE";
    case GL_INVALID_OPERATION:
        return "GL_INVALID_OPERATION";
    case GL_STACK_OVERFLOW:
        return "GL_STACK_OVERFLOW";
    case GL_STACK_UNDERFLOW:
        return "GL_STACK_UNDERFLOW";
    case GL_OUT_OF_MEMORY:
        return "GL_OUT_OF_MEMORY";
    default: {
        char text[32];
        snprintf(text, sizeof(text), "GL error 0x%04X", error);
        return text;
    }
    }
}

} // namespace

std::string GLErrorCheck::takeErrors() {
    std::string names;
    // Each flag clears as it is read; a lost context would report forever, so the count is bounded.
    for (int i = 0; i < 16; ++i) {
        const GLenum error = glGetError();
        if (error == GL_NO_ERROR) {
            break;
        }
        names += (names.empty() ? "" : ", ") + nameOf(error);
    }
    return names;
}

void GLErrorCheck::afterFrame(const char* scene) {
    if (!ENABLED) {
        return;
    }
    const std::string errors = takeErrors();
    if (!errors.empty()) {
        fprintf(stderr, "OpenGL error after a frame of %s: %s\n", scene, errors.c_str());
        fflush(stderr);
    }
}
