// The base of every scene: one frame drawn into the back buffer per call of render().
#pragma once

class Scene {
  public:
    virtual ~Scene() {}
    // Draws one whole frame; clears what it uses and leaves the state its class documents.
    virtual void render() = 0;
};
