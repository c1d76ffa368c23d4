// The base of every scene: one frame drawn into the back buffer per call of render().
#pragma once

// OpenGL state is global and the scenes live by one rule: a scene sets what it needs once, on
// its first frame (the lazy scenes in their set-up) or in its constructor (the tunnels), and
// then relies on it staying so from frame to frame; it does not save or restore it, and what
// it leaves behind carries over to the next scene of the timeline. So nothing drawn between
// two frames may change that state without giving it back (the tools use GLStateScope).
class Scene {
  public:
    virtual ~Scene() {}
    // Draws one whole frame; clears what it uses and leaves the state its class documents.
    virtual void render() = 0;
};
