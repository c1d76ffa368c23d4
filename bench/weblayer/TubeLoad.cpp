// A tube of 241 rings of 68 vertices, drawn as the tunnel scenes draw theirs.
#include "TubeLoad.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

namespace {

const int RINGS = 241;
const int RING_VERTICES = 68;
float rings[RINGS][RING_VERTICES][3];
GLuint picture = 0;

void drawSolid() {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int i = 0; i + 1 < RINGS; ++i) {
        for (int k = 0; k + 1 < RING_VERTICES; ++k) {
            glTexCoord2f(0.0f, 0.0f);
            glVertex3fv(rings[i][k]);
            glTexCoord2f(1.0f, 0.0f);
            glVertex3fv(rings[i + 1][k]);
            glTexCoord2f(1.0f, 1.0f);
            glVertex3fv(rings[i + 1][k + 1]);
            glTexCoord2f(0.0f, 0.0f);
            glVertex3fv(rings[i][k]);
            glTexCoord2f(1.0f, 1.0f);
            glVertex3fv(rings[i + 1][k + 1]);
            glTexCoord2f(0.0f, 1.0f);
            glVertex3fv(rings[i][k + 1]);
        }
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void drawWire() {
    glLineWidth(1.0f);
    glColor3f(0.9f, 0.7f, 0.2f);
    for (int i = 0; i < RINGS; ++i) {
        glBegin(GL_LINE_LOOP);
        for (int k = 0; k < RING_VERTICES; ++k) {
            glVertex3fv(rings[i][k]);
        }
        glEnd();
    }
    for (int k = 0; k < RING_VERTICES; ++k) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < RINGS; ++i) {
            glVertex3fv(rings[i][k]);
        }
        glEnd();
    }
}

} // namespace

void setUpTubeLoad() {
    for (int i = 0; i < RINGS; ++i) {
        for (int k = 0; k < RING_VERTICES; ++k) {
            const float a = 6.2831853f * k / (RING_VERTICES - 1);
            rings[i][k][0] = 2.0f * std::cos(a) + 0.3f * std::sin(i * 0.1f);
            rings[i][k][1] = 2.0f * std::sin(a) + 0.3f * std::cos(i * 0.07f);
            rings[i][k][2] = -0.5f * i;
        }
    }
    std::vector<unsigned char> image(256 * 256 * 3);
    for (size_t i = 0; i < image.size(); ++i) {
        image[i] = static_cast<unsigned char>(i * 7);
    }
    glGenTextures(1, &picture);
    glBindTexture(GL_TEXTURE_2D, picture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, 256, 256, GL_RGB, GL_UNSIGNED_BYTE, image.data());
}

void drawTubeFrame(bool wire) {
    glViewport(0, 0, 800, 600);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glEnable(GL_DEPTH_TEST);
    if (wire) {
        drawWire();
    } else {
        drawSolid();
    }
    glFlush();
}
