// The opening spectrum scene: 50 red bars on a marble floor that mirrors them, under a scripted
// camera, fading to black at its end.
#pragma once

#include "scenes/Scene.h"
#include "scenes/BarStage.h"

class Music;
class Timer;

class Intro : public Scene {
  public:
    Intro(Timer* timer, Music* music);
    ~Intro() override;

    Intro(const Intro&) = delete;
    Intro& operator=(const Intro&) = delete;

    void init();
    void render() override;
    void drawSpectrum();
    void drawFloor();

    // The bars, their floor, textures, gains and scene clock (bars->spectrum, bars->barGain,
    // bars->overlayTexture, bars->floorTexture, bars->local_timer, bars->initialized).
    BarStage* bars;
};
