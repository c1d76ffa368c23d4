// The tube's bends travel toward the viewer at one ring per 0.3 s of the scene clock.
#include "scenes/Tunnel1.h"

#include <GL/gl.h>

#include "image/Texture.h"
#include "platform/Timer.h"
#include "scenes/LazySetup.h"
#include "scenes/SceneSetup.h"
#include "scenes/ScreenSpace.h"
#include "tunnel/Tunnel.h"

Tunnel1::Tunnel1(Timer* timer, Music* music)
    : timer(timer), music(music), local_timer(new Timer()), initialized(false),
      overlayTexture(new Texture("textures/overlay2.png")), tunnel(new Tunnel(music)) {
    tunnel->create(10.0f, 2.0f, 100, 36);
}

Tunnel1::~Tunnel1() {
    delete tunnel;
    delete overlayTexture;
    delete local_timer;
}

void Tunnel1::init() {
    SceneSetup(1.0, SceneSetup::ASPECT_DOUBLE, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f).apply();
    local_timer->restart();
}

void Tunnel1::render() {
    LazySetup::onFirstFrame(this);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    tunnel->update(local_timer->getElapsedTime());
    tunnel->renderWire();
    drawOverlay();
    glPopMatrix();
}

void Tunnel1::drawOverlay() {
    glDisable(GL_DEPTH_TEST);
    // The look-at down +z would mirror x: the quad is placed in eye space instead, 10 units
    // in front of the eye.
    const ScreenSpace screen = ScreenSpace::overlay(ScreenSpace::IDENTITY_MODELVIEW);

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    overlayTexture->enable();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    SceneSetup::drawScreenQuad(-10.0f);
    overlayTexture->disable();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
