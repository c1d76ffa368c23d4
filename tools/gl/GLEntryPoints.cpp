// Each call past OpenGL 1.1 looked up in the current context's driver.
#include "gl/GLEntryPoints.h"

#include <SDL.h>

#define VQ_GL_DEFINE(name, type) type vq_##name = nullptr;
VQ_GL_ENTRY_POINTS(VQ_GL_DEFINE)
#undef VQ_GL_DEFINE

bool GLEntryPoints::load(std::string& error) {
    // The names are the pointers' (the header's defines): look them up by their own.
#define VQ_GL_LOAD(name, type)                                                                     \
    vq_##name = reinterpret_cast<type>(SDL_GL_GetProcAddress(#name));                              \
    if (!vq_##name) {                                                                              \
        error = "this OpenGL driver lacks " #name;                                                 \
        return false;                                                                              \
    }
    VQ_GL_ENTRY_POINTS(VQ_GL_LOAD)
#undef VQ_GL_LOAD
    return true;
}
