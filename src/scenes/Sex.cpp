// The word cards' start times and places in the plane z = -7.
#include "scenes/Sex.h"

#include <iostream>

#include "image/Texture.h"
#include "platform/Timer.h"
#include "scenes/Card.h"
#include "scenes/LazySetup.h"
#include "scenes/SceneSetup.h"

namespace {

// Every card stands still 17 units in front of the eye.
const float CARD_Z = -7.0f;
// Cards shown stay until here, which only the end of the demo reaches.
const float SHOWN_UNTIL = 17.0f;

} // namespace

Sex::Sex(Timer* timer, Music* music)
    : timer(timer), music(music), local_timer(new Timer()), initialized(false),
      greetingsTexture(new Texture("textures/greetings.png")),
      isTexture(new Texture("textures/is.png")), likeTexture(new Texture("textures/like.png")),
      sexTexture(new Texture("textures/redsex.png")),
      some1Texture(new Texture("textures/some.png")), getTexture(new Texture("textures/get.png")),
      itTexture(new Texture("textures/it.png")), some2Texture(new Texture("textures/some.png")),
      dontTexture(new Texture("textures/dont.png")),
      smileyTexture(new Texture("textures/smiley.png")) {}

Sex::~Sex() {
    delete smileyTexture;
    delete dontTexture;
    delete some2Texture;
    delete itTexture;
    delete getTexture;
    delete some1Texture;
    delete sexTexture;
    delete likeTexture;
    delete isTexture;
    delete greetingsTexture;
    delete local_timer;
}

void Sex::init() {
    SceneSetup::cards().apply();
    local_timer->restart();
    // Always 0, just restarted: the line marks on standard output the moment the scene begins.
    std::cout << "local_timer : " << local_timer->getElapsedTime() << std::endl;
}

void Sex::render() {
    LazySetup::onFirstFrame(this);
    Card::beginFrame();

    struct Entry {
        float from;
        void (Sex::*draw)();
    };
    static const Entry cards[] = {{2.0f, &Sex::drawGreetings}, {4.0f, &Sex::drawIs},
                                  {6.0f, &Sex::drawLike},      {8.0f, &Sex::drawSex},
                                  {9.0f, &Sex::drawSome1},     {9.0f, &Sex::drawGet},
                                  {9.0f, &Sex::drawIt},        {11.0f, &Sex::drawSome2},
                                  {11.0f, &Sex::drawDont},     {13.0f, &Sex::drawSmiley}};
    const float t = local_timer->getElapsedTime();
    for (const Entry& card : cards) {
        if (card.from < t && t < SHOWN_UNTIL) {
            (this->*card.draw)();
        }
    }

    Card::endFrame();
}

void Sex::drawGreetings() {
    static const float corners[4][2] = {{-6.0f, 5.0f}, {-6.0f, 3.0f}, {-2.0f, 3.0f}, {-2.0f, 5.0f}};
    Card::draw(greetingsTexture, corners, CARD_Z);
}

void Sex::drawIs() {
    static const float corners[4][2] = {{-1.9f, 5.0f}, {-1.9f, 3.0f}, {0.9f, 3.0f}, {0.9f, 5.0f}};
    Card::draw(isTexture, corners, CARD_Z);
}

void Sex::drawLike() {
    static const float corners[4][2] = {{1.0f, 5.0f}, {1.0f, 3.5f}, {3.5f, 3.5f}, {3.5f, 5.0f}};
    Card::draw(likeTexture, corners, CARD_Z);
}

void Sex::drawSex() {
    static const float corners[4][2] = {{3.6f, 6.0f}, {3.6f, 3.0f}, {7.2f, 3.0f}, {7.2f, 6.0f}};
    Card::draw(sexTexture, corners, CARD_Z);
}

void Sex::drawSome1() {
    static const float corners[4][2] = {
        {-5.5f, 1.9f}, {-5.5f, -1.1f}, {-2.0f, -1.1f}, {-2.0f, 1.9f}};
    Card::draw(some1Texture, corners, CARD_Z);
}

void Sex::drawGet() {
    static const float corners[4][2] = {{-1.5f, 1.9f}, {-1.5f, -1.1f}, {1.0f, -1.1f}, {1.0f, 1.9f}};
    Card::draw(getTexture, corners, CARD_Z);
}

void Sex::drawIt() {
    static const float corners[4][2] = {{1.5f, 1.9f}, {1.5f, -1.1f}, {4.2f, -1.1f}, {4.2f, 1.9f}};
    Card::draw(itTexture, corners, CARD_Z);
}

void Sex::drawSome2() {
    static const float corners[4][2] = {
        {-4.5f, -2.3f}, {-4.5f, -5.0f}, {-1.0f, -5.0f}, {-1.0f, -2.3f}};
    Card::draw(some2Texture, corners, CARD_Z);
}

void Sex::drawDont() {
    static const float corners[4][2] = {
        {-0.5f, -2.3f}, {-0.5f, -5.0f}, {1.5f, -5.0f}, {1.5f, -2.3f}};
    Card::draw(dontTexture, corners, CARD_Z);
}

void Sex::drawSmiley() {
    static const float corners[4][2] = {{2.0f, -2.3f}, {2.0f, -5.0f}, {4.5f, -5.0f}, {4.5f, -2.3f}};
    Card::draw(smileyTexture, corners, CARD_Z);
}
