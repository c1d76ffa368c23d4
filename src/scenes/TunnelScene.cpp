// The solid tunnel seen from 15 units beside it, the eye following the height of ring 70.
#include "scenes/TunnelScene.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/Music.h"
#include "scenes/SceneSetup.h"
#include "tunnel/Tunnel.h"

TunnelScene::TunnelScene(Timer* timer, Music* music)
    : timer(timer), music(music), tunnel(new Tunnel(music)), local_timer(), spectrum(nullptr),
      viewSet(false) {
    tunnel->create(40.0f, 2.5f, 240, 68);
    // Built after the wire tunnel, so these are the fog parameters in force in both scenes:
    // the end lies nearer than the start, and only what comes within a unit of the eye darkens.
    tunnel->setFog();
}

TunnelScene::~TunnelScene() {
    delete tunnel;
}

void TunnelScene::render() {
    // The projection, depth test and culling the spectrum scene before this one leaves in
    // force, set here too so that the scene also draws right on its own. The camera is its own.
    if (!viewSet) {
        SceneSetup::bars().apply();
        viewSet = true;
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glLoadIdentity();
    const float t = local_timer.getElapsedTime();
    spectrum = music->getSpectrumBuffer();

    // Ring 70 as the last update placed it (on the first frame, as create did); a tunnel that
    // failed to build keeps the eye at height 0.
    const bool built = tunnel->sections && tunnel->sectionCount > 70;
    const float y = built ? tunnel->sections[70].position.y : 0.0f;
    gluLookAt(15.0 - spectrum[3] * 6.0, y + spectrum[4] * 5.0, spectrum[54] * 5.0f + 20.0f, 0.0, y,
              20.0, 0.0, 1.0, 0.0);

    tunnel->update(t * 3.0f);
    glFrontFace(GL_CCW);
    glEnable(GL_FOG);
    tunnel->renderSolid();
    glDisable(GL_FOG);
    glPopMatrix();
}
