// On a desktop a video mode set with SDL_OPENGL always has its context.
#include "platform/DrawingContext.h"

bool DrawingContext::made() {
    return true;
}
