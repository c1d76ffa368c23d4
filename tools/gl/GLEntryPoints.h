// The OpenGL calls past 1.1 that the capture's framebuffers, filter and colour conversion make.
// Windows' opengl32.dll stops at 1.1, so every one of them is reached through a pointer looked
// up in the current context's driver (load), on every platform alike; each name stands for its
// pointer from here on.
#pragma once

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

#define VQ_GL_DECLARE(name, type) extern type vq_##name;
VQ_GL_ENTRY_POINTS(VQ_GL_DECLARE)
#undef VQ_GL_DECLARE

// The names as the code calls them: a list of its own, since a macro cannot define macros; a
// name missing here still links on Linux, but not on Windows.
#define glActiveTexture vq_glActiveTexture
#define glAttachShader vq_glAttachShader
#define glBindBuffer vq_glBindBuffer
#define glBindFragDataLocation vq_glBindFragDataLocation
#define glBindFramebuffer vq_glBindFramebuffer
#define glBindRenderbuffer vq_glBindRenderbuffer
#define glBufferData vq_glBufferData
#define glCheckFramebufferStatus vq_glCheckFramebufferStatus
#define glClipControl vq_glClipControl
#define glCompileShader vq_glCompileShader
#define glCreateProgram vq_glCreateProgram
#define glCreateShader vq_glCreateShader
#define glDeleteBuffers vq_glDeleteBuffers
#define glDeleteFramebuffers vq_glDeleteFramebuffers
#define glDeleteProgram vq_glDeleteProgram
#define glDeleteRenderbuffers vq_glDeleteRenderbuffers
#define glDeleteShader vq_glDeleteShader
#define glDrawBuffers vq_glDrawBuffers
#define glFramebufferRenderbuffer vq_glFramebufferRenderbuffer
#define glFramebufferTexture2D vq_glFramebufferTexture2D
#define glGenBuffers vq_glGenBuffers
#define glGenFramebuffers vq_glGenFramebuffers
#define glGenRenderbuffers vq_glGenRenderbuffers
#define glGetProgramInfoLog vq_glGetProgramInfoLog
#define glGetProgramiv vq_glGetProgramiv
#define glGetShaderInfoLog vq_glGetShaderInfoLog
#define glGetShaderiv vq_glGetShaderiv
#define glGetStringi vq_glGetStringi
#define glGetUniformLocation vq_glGetUniformLocation
#define glLinkProgram vq_glLinkProgram
#define glRenderbufferStorage vq_glRenderbufferStorage
#define glShaderSource vq_glShaderSource
#define glTexBuffer vq_glTexBuffer
#define glUniform1i vq_glUniform1i
#define glUniform2i vq_glUniform2i
#define glUniform3f vq_glUniform3f
#define glUniform4f vq_glUniform4f
#define glUseProgram vq_glUseProgram

namespace GLEntryPoints {
// Finds every call above in the current context's driver, once a context; false naming the
// first missing.
bool load(std::string& error);
} // namespace GLEntryPoints
