// Entering and leaving a screen-space pass.
#include "scenes/ScreenSpace.h"

#include <GL/gl.h>

ScreenSpace::ScreenSpace(double left, double right, double bottom, double top, double nearPlane,
                         double farPlane, Modelview modelview) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(left, right, bottom, top, nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    if (modelview == IDENTITY_MODELVIEW) {
        glLoadIdentity();
    }
}

ScreenSpace::~ScreenSpace() {
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

ScreenSpace ScreenSpace::overlay(Modelview modelview) {
    return ScreenSpace(0.0, 800.0, 600.0, 0.0, 1.0, 1000.0, modelview);
}
