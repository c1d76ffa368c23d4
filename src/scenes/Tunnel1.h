// The wire tunnel seen from its mouth under a full-screen picture; not on the timeline.
#pragma once

#include "scenes/Scene.h"

class Music;
class Texture;
class Timer;
class Tunnel;

class Tunnel1 : public Scene {
  public:
    Tunnel1(Timer* timer, Music* music);
    ~Tunnel1() override;

    Tunnel1(const Tunnel1&) = delete;
    Tunnel1& operator=(const Tunnel1&) = delete;

    // The eye at the centre of ring 0, looking down the tube along +z; the scene clock starts.
    void init();
    void render() override;
    // The picture over the whole frame, in front of everything; its alpha lets the tube show.
    // Leaves the depth test on, blending and texturing off, the matrix mode at modelview.
    void drawOverlay();

    Timer* timer;
    Music* music;
    Timer* local_timer;
    bool initialized;
    Texture* overlayTexture;
    Tunnel* tunnel;
};
