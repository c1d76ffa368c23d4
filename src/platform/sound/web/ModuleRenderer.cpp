// Tracker modules in the browser: the build has no module player, so none loads.
#include "platform/sound/ModuleRenderer.h"

LoadResult ModuleRenderer::render(const std::vector<unsigned char>&, Track*) {
    return LoadResult::UNKNOWN_FORMAT;
}
