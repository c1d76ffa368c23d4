// The opening title cards: four cards fly toward the viewer, the first two trembling with
// the music's spectrum.
#pragma once

#include "scenes/Scene.h"

class Music;
class Texture;
class Timer;

class Preface : public Scene {
  public:
    // Scene seconds until which the Vorrel card shows, fetching the spectrum each frame; from
    // then to 14 s the Quisp card alone goes on reading the values its last frame fetched.
    static constexpr float VORREL_END = 10.0f;

    Preface(Timer* timer, Music* music);
    ~Preface() override;

    Preface(const Preface&) = delete;
    Preface& operator=(const Preface&) = delete;

    void init();
    void render() override;

    void drawVorrel();
    void drawQuisp();
    void drawPresents();
    void drawTitle();

    Timer* timer;
    Music* music;
    Timer* local_timer;
    bool initialized;
    // The spectrum as drawVorrel last fetched it; drawQuisp reads through it.
    const float* spectrum;
    Texture* vorrelTexture;
    Texture* quispTexture;
    Texture* presentsTexture;
    Texture* titleTexture;
};
