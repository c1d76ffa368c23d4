// The opening cards' timing, corners and spectrum terms.
#include "scenes/Preface.h"

#include <iostream>

#include "image/Texture.h"
#include "platform/Music.h"
#include "platform/Timer.h"
#include "scenes/Card.h"
#include "scenes/LazySetup.h"
#include "scenes/SceneSetup.h"

Preface::Preface(Timer* timer, Music* music)
    : timer(timer), music(music), local_timer(new Timer()), initialized(false), spectrum(nullptr),
      vorrelTexture(new Texture("textures/vorrel.png")),
      quispTexture(new Texture("textures/quisp.png")),
      presentsTexture(new Texture("textures/presents.png")),
      titleTexture(new Texture("textures/morvane.png")) {}

Preface::~Preface() {
    delete titleTexture;
    delete presentsTexture;
    delete quispTexture;
    delete vorrelTexture;
    delete local_timer;
}

void Preface::init() {
    SceneSetup::cards().apply();
    local_timer->restart();
    // Always 0, just restarted: the line marks on standard output the moment the scene begins.
    std::cout << "local_timer : " << local_timer->getElapsedTime() << std::endl;
}

void Preface::render() {
    LazySetup::onFirstFrame(this);
    Card::beginFrame();

    // The first rule that holds chooses; the slot ends before the scene clock reaches 26.
    const float t = local_timer->getElapsedTime();
    if (t < VORREL_END) {
        drawVorrel();
        if (t > 6.0f) {
            drawQuisp();
        }
    } else if (t < 14.0f) {
        drawQuisp();
    } else if (t < 23.0f) {
        drawPresents();
        if (t > 17.0f) {
            drawTitle();
        }
    } else if (t < 26.0f) {
        drawTitle();
    }

    Card::endFrame();
}

void Preface::drawVorrel() {
    spectrum = music->getSpectrumBuffer();
    const float* s = spectrum;
    const float corners[4][2] = {{-4.5f - 6.0f * s[54], 4.0f + 6.0f * s[45]},
                                 {-4.5f, -1.5f + 6.0f * s[42]},
                                 {4.0f, -1.5f},
                                 {4.0f - 6.0f * s[53], 4.0f - 6.0f * s[56]}};
    Card::draw(vorrelTexture, corners, 1.5f * local_timer->getElapsedTime() - 15.0f);
}

void Preface::drawQuisp() {
    // The Vorrel card is drawn from the first frame on, so the spectrum is fetched by then.
    const float* s = spectrum ? spectrum : music->getSpectrumBuffer();
    const float corners[4][2] = {{-2.5f - 6.0f * s[42], -1.0f - 6.0f * s[59]},
                                 {-2.5f, -3.5f},
                                 {2.0f, -3.5f - 6.0f * s[55]},
                                 {2.0f + 5.0f * s[49], -1.0f}};
    Card::draw(quispTexture, corners, 1.5f * local_timer->getElapsedTime() - 15.0f);
}

void Preface::drawPresents() {
    static const float corners[4][2] = {{-3.5f, 2.0f}, {-3.5f, 0.5f}, {-1.0f, 0.5f}, {-1.0f, 2.0f}};
    Card::draw(presentsTexture, corners, local_timer->getElapsedTime() - 21.0f);
}

void Preface::drawTitle() {
    static const float corners[4][2] = {{-3.5f, 2.0f}, {-3.5f, -2.5f}, {3.0f, -2.5f}, {3.0f, 2.0f}};
    Card::draw(titleTexture, corners, local_timer->getElapsedTime() - 27.0f);
}
