// The second title cards: seven credit cards fly toward the viewer, several at a time.
#pragma once

#include "scenes/Scene.h"

class Music;
class Texture;
class Timer;

class Test : public Scene {
  public:
    Test(Timer* timer, Music* music);
    ~Test() override;

    Test(const Test&) = delete;
    Test& operator=(const Test&) = delete;

    void init();
    void render() override;

    void drawCode();
    void drawTelquin();
    void drawAnd();
    void drawPevrick();
    void drawMusic();
    void drawUlmerd();
    void drawGfx();

    Timer* timer;
    Music* music;
    Timer* local_timer;
    bool initialized;
    Texture* codeTexture;
    Texture* telquinTexture;
    Texture* andTexture;
    Texture* pevrickTexture;
    Texture* gfxTexture;
    Texture* musicTexture;
    Texture* ulmerdTexture;
};
