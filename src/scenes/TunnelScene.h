// The solid tunnel: the textured tube seen from beside it, the camera shaken by the spectrum.
#pragma once

#include "platform/Timer.h"
#include "scenes/Scene.h"

class Music;
class Tunnel;

// Built whole at construction, with the fog parameters; the scene clock runs from the
// construction on and is never restarted, so it only picks the phase of the flowing bends.
class TunnelScene : public Scene {
  public:
    TunnelScene(Timer* timer, Music* music);
    ~TunnelScene() override;

    TunnelScene(const TunnelScene&) = delete;
    TunnelScene& operator=(const TunnelScene&) = delete;

    void render() override;
    // Nothing to lay over this scene.
    void drawOverlay() {}

    Timer* timer; // the timeline clock; not read here
    Music* music;
    Tunnel* tunnel;
    Timer local_timer;
    const float* spectrum; // the current frame's 512 values, read in place
    bool viewSet;          // the first frame has set the camera this scene draws under
};
