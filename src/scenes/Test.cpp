// The credit cards' time windows and corners; no card follows the music.
#include "scenes/Test.h"

#include "image/Texture.h"
#include "platform/Timer.h"
#include "scenes/Card.h"
#include "scenes/LazySetup.h"
#include "scenes/SceneSetup.h"

Test::Test(Timer* timer, Music* music)
    : timer(timer), music(music), local_timer(new Timer()), initialized(false),
      codeTexture(new Texture("textures/code.png")),
      telquinTexture(new Texture("textures/telquin.png")),
      andTexture(new Texture("textures/and.png")),
      pevrickTexture(new Texture("textures/pevrick.png")),
      gfxTexture(new Texture("textures/graphics.png")),
      musicTexture(new Texture("textures/music.png")),
      ulmerdTexture(new Texture("textures/ulmerd.png")) {}

Test::~Test() {
    delete ulmerdTexture;
    delete musicTexture;
    delete gfxTexture;
    delete pevrickTexture;
    delete andTexture;
    delete telquinTexture;
    delete codeTexture;
    delete local_timer;
}

void Test::init() {
    SceneSetup::cards().apply();
    local_timer->restart();
}

void Test::render() {
    LazySetup::onFirstFrame(this);
    Card::beginFrame();

    // Five independent windows, all bounds strict; nearer cards drawn first hide later ones.
    const float t = local_timer->getElapsedTime();
    if (t < 20.0f) {
        drawCode();
        if (t > 5.0f) {
            drawPevrick();
        }
        if (t > 7.0f) {
            drawTelquin();
        }
    }
    if (t > 16.0f && t < 25.0f) {
        drawMusic();
    }
    if (t > 18.0f && t < 27.0f) {
        drawAnd();
    }
    if (t > 20.0f && t < 31.0f) {
        drawGfx();
    }
    if (t > 22.0f && t < 35.0f) {
        drawUlmerd();
    }

    Card::endFrame();
}

void Test::drawCode() {
    static const float corners[4][2] = {{-3.5f, 2.0f}, {-3.5f, 0.5f}, {-2.0f, 0.5f}, {-2.0f, 2.0f}};
    Card::draw(codeTexture, corners, local_timer->getElapsedTime() - 7.0f);
}

void Test::drawPevrick() {
    static const float corners[4][2] = {{-1.5f, 3.0f}, {-1.5f, 0.5f}, {3.0f, 0.5f}, {3.0f, 3.0f}};
    Card::draw(pevrickTexture, corners, local_timer->getElapsedTime() - 7.0f);
}

void Test::drawTelquin() {
    static const float corners[4][2] = {
        {-1.5f, -1.0f}, {-1.5f, -3.5f}, {2.0f, -3.5f}, {2.0f, -1.0f}};
    Card::draw(telquinTexture, corners, local_timer->getElapsedTime() - 9.0f);
}

void Test::drawMusic() {
    static const float corners[4][2] = {
        {-3.5f, 2.0f}, {-3.5f, -0.5f}, {-1.0f, -0.5f}, {-1.0f, 2.0f}};
    Card::draw(musicTexture, corners, local_timer->getElapsedTime() - 19.0f);
}

void Test::drawAnd() {
    static const float corners[4][2] = {{1.5f, 3.0f}, {1.5f, 1.5f}, {3.0f, 1.5f}, {3.0f, 3.0f}};
    Card::draw(andTexture, corners, local_timer->getElapsedTime() - 21.0f);
}

void Test::drawGfx() {
    static const float corners[4][2] = {{1.5f, 0.0f}, {1.5f, -2.5f}, {3.5f, -2.5f}, {3.5f, 0.0f}};
    Card::draw(gfxTexture, corners, local_timer->getElapsedTime() - 23.0f);
}

void Test::drawUlmerd() {
    // The same rectangle as the Pevrick card, later.
    static const float corners[4][2] = {{-1.5f, 3.0f}, {-1.5f, 0.5f}, {3.0f, 0.5f}, {3.0f, 3.0f}};
    Card::draw(ulmerdTexture, corners, local_timer->getElapsedTime() - 25.0f);
}
