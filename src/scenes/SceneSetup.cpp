// Camera set-up of the lazy scenes and the overlay pass.
#include "scenes/SceneSetup.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "image/RenderScale.h"
#include "image/Texture.h"
#include "scenes/ScreenSpace.h"

const double SceneSetup::ASPECT_FLOAT = static_cast<double>(4.0f / 3.0f);
const double SceneSetup::ASPECT_DOUBLE = 4.0 / 3.0;

SceneSetup::SceneSetup(double nearPlane, double aspect, float eyeX, float eyeY, float eyeZ,
                       float centreX, float centreY, float centreZ)
    : nearPlane(nearPlane),
      aspect(aspect), eye{eyeX, eyeY, eyeZ}, centre{centreX, centreY, centreZ} {}

SceneSetup SceneSetup::cards() {
    return SceneSetup(1.0, ASPECT_FLOAT, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
}

SceneSetup SceneSetup::bars() {
    return SceneSetup(1.0, ASPECT_DOUBLE, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
}

void SceneSetup::apply() const {
    // Fixed 800 x 600 whatever the display's size; a larger frame scales it.
    RenderScale::viewport(0, 0, 800, 600);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, aspect, nearPlane, 1000.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], 0.0, 1.0, 0.0);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_DEPTH_TEST);
    glFrontFace(GL_CCW);
    glEnable(GL_CULL_FACE);
}

void SceneSetup::drawOverlay(Texture* texture) {
    // The scene's look-at stays: the quad at z = 0 lies 10 units in front of the eye.
    const ScreenSpace screen = ScreenSpace::overlay(ScreenSpace::KEEP_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    texture->enable();
    drawScreenQuad(0.0f);
    texture->disable();
    glDisable(GL_BLEND);
}

void SceneSetup::drawScreenQuad(float z) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 600.0f, z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(800.0f, 600.0f, z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(800.0f, 0.0f, z);
    glEnd();
}
