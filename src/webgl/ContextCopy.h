// What the layer has handed WebGL, kept so that a context the browser takes away and gives back
// can be rebuilt as it was: the state passed through, each texture's levels and parameters.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

#include "MipmapChain.h"

class ContextCopy {
  public:
    struct Texture {
        unsigned webgl = 0; // its name in the context now; 0 while it has none
        bool live = false;  // made and not yet deleted
        std::vector<MipmapChain::Level> levels;
        std::vector<std::pair<unsigned, int>> parameters; // the last value of each, in order
    };

    // A texture name of the layer's own (from 1), to stay the same whatever WebGL names it.
    unsigned add();
    void remove(unsigned name);
    // The texture of that name; null for 0 or a name not made.
    Texture* texture(unsigned name);
    std::vector<Texture>& textures() { return made; }
    void parameter(unsigned name, unsigned pname, int value);
    // The bytes the textures' levels keep.
    size_t bytes() const;

    // A capability switched on or off; the others are WebGL's defaults.
    void capability(unsigned cap, bool on);
    const std::vector<std::pair<unsigned, bool>>& capabilities() const { return caps; }

    unsigned blendSource = 1;      // GL_ONE
    unsigned blendDestination = 0; // GL_ZERO
    bool depthMask = true;
    unsigned frontFace = 0x0901;    // GL_CCW
    int viewport[4] = {0, 0, 0, 0}; // width 0: never set
    int scissor[4] = {0, 0, 0, 0};  // width 0: never set
    float clearColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    int clearStencil = 0;
    unsigned bound = 0; // the layer's name of the bound texture

  private:
    std::vector<Texture> made; // name n is made[n - 1]
    std::vector<std::pair<unsigned, bool>> caps;
};
