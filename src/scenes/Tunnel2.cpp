// The still picture drawn by the overlay pass on a black frame.
#include "scenes/Tunnel2.h"

#include <GL/gl.h>

#include "image/Texture.h"
#include "platform/Timer.h"
#include "scenes/LazySetup.h"
#include "scenes/SceneSetup.h"

Tunnel2::Tunnel2(Timer* timer, Music* music)
    : timer(timer), music(music), local_timer(new Timer()), initialized(false),
      imageTexture(new Texture("textures/tunnel2.png")) {}

Tunnel2::~Tunnel2() {
    delete imageTexture;
    delete local_timer;
}

void Tunnel2::init() {
    SceneSetup::bars().apply();
    local_timer->restart();
}

void Tunnel2::render() {
    LazySetup::onFirstFrame(this);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // No colour of its own: the picture is modulated by the current colour.
    SceneSetup::drawOverlay(imageTexture);
}
