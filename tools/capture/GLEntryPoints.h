// The OpenGL calls past 1.1 that the capture's framebuffers, filter and colour conversion make. Linux's libGL
// exports them all; Windows' opengl32.dll stops at 1.1, so there they are looked up in the
// driver once a context exists (load), under the same names.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#define GL_GLEXT_PROTOTYPES
#endif
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>

// Every such call: its name and its pointer type in glext.h.
#define VQ_GL_ENTRY_POINTS(X)                                                                      \
    X(glActiveTexture, PFNGLACTIVETEXTUREPROC)                                                     \
    X(glAttachShader, PFNGLATTACHSHADERPROC)                                                       \
    X(glBindBuffer, PFNGLBINDBUFFERPROC)                                                           \
    X(glBindFragDataLocation, PFNGLBINDFRAGDATALOCATIONPROC)                                       \
    X(glBindFramebuffer, PFNGLBINDFRAMEBUFFERPROC)                                                 \
    X(glBindRenderbuffer, PFNGLBINDRENDERBUFFERPROC)                                               \
    X(glBufferData, PFNGLBUFFERDATAPROC)                                                           \
    X(glCheckFramebufferStatus, PFNGLCHECKFRAMEBUFFERSTATUSPROC)                                   \
    X(glClipControl, PFNGLCLIPCONTROLPROC)                                                         \
    X(glCompileShader, PFNGLCOMPILESHADERPROC)                                                     \
    X(glCreateProgram, PFNGLCREATEPROGRAMPROC)                                                     \
    X(glCreateShader, PFNGLCREATESHADERPROC)                                                       \
    X(glDeleteBuffers, PFNGLDELETEBUFFERSPROC)                                                     \
    X(glDeleteFramebuffers, PFNGLDELETEFRAMEBUFFERSPROC)                                           \
    X(glDeleteProgram, PFNGLDELETEPROGRAMPROC)                                                     \
    X(glDeleteRenderbuffers, PFNGLDELETERENDERBUFFERSPROC)                                         \
    X(glDeleteShader, PFNGLDELETESHADERPROC)                                                       \
    X(glDrawBuffers, PFNGLDRAWBUFFERSPROC)                                                         \
    X(glFramebufferRenderbuffer, PFNGLFRAMEBUFFERRENDERBUFFERPROC)                                 \
    X(glFramebufferTexture2D, PFNGLFRAMEBUFFERTEXTURE2DPROC)                                       \
    X(glGenBuffers, PFNGLGENBUFFERSPROC)                                                           \
    X(glGenFramebuffers, PFNGLGENFRAMEBUFFERSPROC)                                                 \
    X(glGenRenderbuffers, PFNGLGENRENDERBUFFERSPROC)                                               \
    X(glGetProgramInfoLog, PFNGLGETPROGRAMINFOLOGPROC)                                             \
    X(glGetProgramiv, PFNGLGETPROGRAMIVPROC)                                                       \
    X(glGetShaderInfoLog, PFNGLGETSHADERINFOLOGPROC)                                               \
    X(glGetShaderiv, PFNGLGETSHADERIVPROC)                                                         \
    X(glGetStringi, PFNGLGETSTRINGIPROC)                                                           \
    X(glGetUniformLocation, PFNGLGETUNIFORMLOCATIONPROC)                                           \
    X(glLinkProgram, PFNGLLINKPROGRAMPROC)                                                         \
    X(glRenderbufferStorage, PFNGLRENDERBUFFERSTORAGEPROC)                                         \
    X(glShaderSource, PFNGLSHADERSOURCEPROC)                                                       \
    X(glTexBuffer, PFNGLTEXBUFFERPROC)                                                             \
    X(glUniform1i, PFNGLUNIFORM1IPROC)                                                             \
    X(glUniform2i, PFNGLUNIFORM2IPROC)                                                             \
    X(glUniform3f, PFNGLUNIFORM3FPROC)                                                             \
    X(glUniform4f, PFNGLUNIFORM4FPROC)                                                             \
    X(glUseProgram, PFNGLUSEPROGRAMPROC)

#ifdef _WIN32
#define VQ_GL_DECLARE(name, type)                                                                  \
    extern type vq_##name;                                                                         \
    static const auto& name = vq_##name;
VQ_GL_ENTRY_POINTS(VQ_GL_DECLARE)
#undef VQ_GL_DECLARE
#endif

namespace GLEntryPoints {
// Finds every call above in the current context's driver; false naming the first missing.
bool load(std::string& error);
} // namespace GLEntryPoints
