// One card quad with its texture coordinates.
#include "scenes/Card.h"

#include <GL/gl.h>

#include "image/Texture.h"

void Card::draw(Texture* texture, const float corners[4][2], float z) {
    // Texture (0, 0) at the top-left: with the loader's flip the image is upright, and the
    // order winds counter-clockwise as seen from the camera.
    static const float texCoords[4][2] = {{0.0f, 0.0f}, {0.0f, 1.0f}, {1.0f, 1.0f}, {1.0f, 0.0f}};

    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    texture->enable();
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(texCoords[i][0], texCoords[i][1]);
        glVertex3f(corners[i][0], corners[i][1], z);
    }
    glEnd();
    texture->disable();
    glDisable(GL_BLEND);
}

void Card::beginFrame() {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    glColor3f(1.0f, 1.0f, 1.0f);
}

void Card::endFrame() {
    glPopMatrix();
}
