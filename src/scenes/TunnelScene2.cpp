// The wire tunnel under the card camera, fogged only within a unit of the eye.
#include "scenes/TunnelScene2.h"

#include <GL/gl.h>

#include "platform/Music.h"
#include "scenes/SceneSetup.h"
#include "tunnel/Tunnel.h"

TunnelScene2::TunnelScene2(Timer* timer, Music* music)
    : timer(timer), music(music), tunnel(new Tunnel(music)), local_timer(), spectrum(nullptr),
      viewSet(false) {
    tunnel->create(40.0f, 2.5f, 140, 68);
    // Fog parameters are global: the solid tunnel, built later, sets the ones both scenes see.
    tunnel->setFog();
}

TunnelScene2::~TunnelScene2() {
    delete tunnel;
}

void TunnelScene2::render() {
    // The camera and projection the card scene before this one leaves in force, set here too
    // so that the scene also draws right on its own. The scene clock is not touched.
    if (!viewSet) {
        SceneSetup::cards().apply();
        viewSet = true;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    const float t = local_timer.getElapsedTime();
    tunnel->update(t * 3.0f);
    spectrum = music->getSpectrumBuffer();
    glEnable(GL_FOG);
    tunnel->renderWire();
    glDisable(GL_FOG);
    glPopMatrix();
}
