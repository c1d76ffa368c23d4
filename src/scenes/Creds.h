// The credits scene: the greetings line scrolls along a wave over a background picture.
#pragma once

#include "scenes/Scene.h"

class Music;
class Scroll;
class Texture;
class Timer;

class Creds : public Scene {
  public:
    static const char* const GREETINGS;

    Creds(Timer* timer, Music* music);
    ~Creds() override;

    Creds(const Creds&) = delete;
    Creds& operator=(const Creds&) = delete;

    void init();
    void render() override;

    // Full-screen background behind everything, depth test on. Leaves texturing off and
    // both matrix stacks as found, matrix mode modelview.
    void drawBackground();
    // The scroller twice under a 640 x 480 projection: the mask darkens the background, the
    // colour pass adds the glyphs. Leaves blending and texturing off, stacks as found.
    void drawGreetings();
    // Moves the scroller on by the scene clock's interval since the previous frame (zero on the
    // first, whose set-up restarted the clock): the last step of every frame, and the only
    // state one frame leaves for the next. Draws nothing.
    void advanceScroll();

    Timer* timer; // not used: the scene runs on its own clock
    Music* music; // not used
    Timer* local_timer;
    bool initialized;
    Texture* bgTexture;
    Texture* fontMaskTexture;
    Texture* fontTexture;
    Scroll* scroll;
};
