// The Spectrum scene: the spectrum bars again, later in the show, as Intro in another slot.
#pragma once

#include "scenes/Scene.h"
#include "scenes/BarStage.h"

class Music;
class Timer;

class Spectrum : public Scene {
  public:
    Spectrum(Timer* timer, Music* music);
    ~Spectrum() override;

    Spectrum(const Spectrum&) = delete;
    Spectrum& operator=(const Spectrum&) = delete;

    void init();
    void render() override;
    void drawSpectrum();
    void drawFloor();

    // The bars, their floor, textures, gains and scene clock (bars->spectrum, bars->barGain,
    // bars->overlayTexture, bars->floorTexture, bars->local_timer, bars->initialized).
    BarStage* bars;
};
