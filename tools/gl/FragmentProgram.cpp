// One fragment shader linked into a program, the driver's own log kept when it fails.
// First, before any OpenGL header: it chooses how the calls past OpenGL 1.1 are declared.
#include "gl/FragmentProgram.h"
#include "gl/GLEntryPoints.h"

bool FragmentProgram::build(const char* source, const char* const* outputs, int outputCount,
                            const char* what, GLuint& into, std::string& error) {
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (!compiled) {
        char log[256] = "";
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        glDeleteShader(shader);
        error = std::string("the driver cannot build ") + what + ": " + log;
        return false;
    }
    into = glCreateProgram();
    glAttachShader(into, shader);
    for (int i = 0; i < outputCount; ++i) {
        glBindFragDataLocation(into, i, outputs[i]);
    }
    glLinkProgram(into);
    glDeleteShader(shader); // freed with the program
    GLint linked = GL_FALSE;
    glGetProgramiv(into, GL_LINK_STATUS, &linked);
    if (!linked || glGetError() != GL_NO_ERROR) {
        char log[256] = "";
        glGetProgramInfoLog(into, sizeof(log), nullptr, log);
        error = std::string("the driver cannot build ") + what + ": " + log;
        return false;
    }
    return true;
}

void FragmentProgram::drawOverViewport() {
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}
