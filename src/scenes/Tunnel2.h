// A still picture over the whole frame; a complete scene that the timeline does not show.
#pragma once

#include "scenes/Scene.h"

class Music;
class Texture;
class Timer;

class Tunnel2 : public Scene {
  public:
    Tunnel2(Timer* timer, Music* music);
    ~Tunnel2() override;

    Tunnel2(const Tunnel2&) = delete;
    Tunnel2& operator=(const Tunnel2&) = delete;

    void init();
    void render() override;

    Timer* timer;
    Music* music;
    Timer* local_timer;
    bool initialized;
    Texture* imageTexture;
};
