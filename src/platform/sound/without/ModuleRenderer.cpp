// A build without a module player (VQ_WITH_MODULES off): no tracker module loads.
#include "platform/sound/ModuleRenderer.h"

LoadResult ModuleRenderer::render(const std::vector<unsigned char>&, Track*) {
    return LoadResult::UNKNOWN_FORMAT;
}
