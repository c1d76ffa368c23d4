// The WebGL calls the layer passes state through to, under the names Emscripten gives them
// beside OpenGL's (the layer itself provides OpenGL's names).
#pragma once

#include <GL/gl.h>

#ifdef __cplusplus
extern "C" {
#endif

void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glBlendFunc(GLenum sfactor, GLenum dfactor);
void emscripten_glDepthMask(GLboolean flag);
void emscripten_glFrontFace(GLenum mode);
void emscripten_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void emscripten_glScissor(GLint x, GLint y, GLsizei width, GLsizei height);
void emscripten_glClear(GLbitfield mask);
void emscripten_glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha);
void emscripten_glClearStencil(GLint s);
void emscripten_glFlush(void);
GLenum emscripten_glGetError(void);
void emscripten_glGetIntegerv(GLenum pname, GLint* data);
void emscripten_glGenTextures(GLsizei n, GLuint* textures);
void emscripten_glDeleteTextures(GLsizei n, const GLuint* textures);
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glTexParameteri(GLenum target, GLenum pname, GLint param);

#ifdef __cplusplus
}
#endif
