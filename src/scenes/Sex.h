// The closing word cards: ten cards appear one after another in three rows and stay.
#pragma once

#include "scenes/Scene.h"

class Music;
class Texture;
class Timer;

class Sex : public Scene {
  public:
    Sex(Timer* timer, Music* music);
    ~Sex() override;

    Sex(const Sex&) = delete;
    Sex& operator=(const Sex&) = delete;

    void init();
    void render() override;

    void drawGreetings();
    void drawIs();
    void drawLike();
    void drawSex();
    void drawSome1();
    void drawGet();
    void drawIt();
    void drawSome2();
    void drawDont();
    void drawSmiley();

    Timer* timer;
    Music* music;
    Timer* local_timer;
    bool initialized;
    Texture* greetingsTexture;
    Texture* isTexture;
    Texture* likeTexture;
    Texture* sexTexture;
    Texture* some1Texture;
    Texture* getTexture;
    Texture* itTexture;
    Texture* some2Texture;
    Texture* dontTexture;
    Texture* smileyTexture;
};
