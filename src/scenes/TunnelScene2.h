// The wire tunnel: a yellow tube whose noise-driven bends flow along it.
#pragma once

#include "platform/Timer.h"
#include "scenes/Scene.h"

class Music;
class Tunnel;

// Built whole at construction, with the fog parameters; the scene clock runs from the
// construction on and is never restarted, so it only picks the phase of the flowing bends.
class TunnelScene2 : public Scene {
  public:
    TunnelScene2(Timer* timer, Music* music);
    ~TunnelScene2() override;

    TunnelScene2(const TunnelScene2&) = delete;
    TunnelScene2& operator=(const TunnelScene2&) = delete;

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
