// Bar geometry, the mirrored floor, the five camera shots and the closing fade.
#include "scenes/BarStage.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "image/Texture.h"
#include "platform/Music.h"
#include "platform/Timer.h"
#include "scenes/LazySetup.h"
#include "scenes/SceneSetup.h"
#include "scenes/ScreenSpace.h"

BarStage::BarStage(Timer* timer, Music* music)
    : timer(timer), music(music), local_timer(new Timer()), initialized(false), spectrum(nullptr),
      barGain(new float[GAIN_COUNT]), overlayTexture(new Texture("textures/overlay.png")),
      floorTexture(new Texture("textures/marble.0000.png")) {
    // The low bins carry most of the energy: the first bars are damped, then rise to 3.6.
    static const float lowGains[13] = {1.0f, 2.5f, 2.6f, 2.7f, 2.8f, 2.9f, 3.0f,
                                       3.1f, 3.2f, 3.3f, 3.4f, 3.5f, 3.6f};
    for (int i = 0; i < GAIN_COUNT; ++i) {
        barGain[i] = i < 13 ? lowGains[i] : 3.0f;
    }
}

BarStage::~BarStage() {
    delete floorTexture;
    delete overlayTexture;
    delete[] barGain;
    delete local_timer;
}

void BarStage::init() {
    SceneSetup::bars().apply();
    local_timer->restart();
}

void BarStage::render() {
    LazySetup::onFirstFrame(this);
    spectrum = music->getSpectrumBuffer();
    const float t = local_timer->getElapsedTime();

    // The shot's camera replaces init's look-at for the scene, which the overlay still uses.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    applyCamera(t);

    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Reflection first: the floor then passes the depth test over it and veils it.
    drawReflection();
    drawFloor();
    drawSpectrum();
    glPopMatrix();

    if (t > FADE_START && t < FADE_END) {
        drawOverlay((t - FADE_START) / (FADE_END - FADE_START));
    }
    SceneSetup::drawOverlay(overlayTexture);
}

void BarStage::applyCamera(float t) const {
    // Strict bounds: at exactly 8, 18, 23 and 40 s the next shot has begun.
    if (t < 8.0f) {
        // Slides along +x in front of the row's right end.
        gluLookAt(t - 5.0f, 3.6f, 8.0, -2.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    } else if (t < 18.0f) {
        // Dollies along -z over the right end.
        gluLookAt(-2.0, 5.0, 10.0f - t, -3.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    } else if (t < 23.0f) {
        // Diagonal move along +x and +z.
        gluLookAt(t - 27.0f, 5.0, t - 15.0f, t - 28.0f, 0.0, 0.0, 0.0, 1.0, 0.0);
    } else if (t < 40.0f) {
        gluLookAt(-2.0, 5.0, 30.0f - t, -3.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    } else if (t < 64.0f) {
        // Tracks along +x beside the row.
        gluLookAt(t - 70.0f, 4.0, 3.25, t - 65.0f, 0.0, -0.25, 0.0, 1.0, 0.0);
    }
    // Later: the camera stays at the origin looking down -z.
}

void BarStage::drawReflection() const {
    glPushMatrix();
    glFrontFace(GL_CW);
    glScalef(1.0f, -1.0f, 1.0f);
    drawSpectrum();
    glFrontFace(GL_CCW);
    glPopMatrix();
}

void BarStage::drawSpectrum() const {
    // Five faces per box, counter-clockwise seen from outside; no bottom, which stands on the
    // floor.
    glBegin(GL_QUADS);
    for (int i = 0; i < BAR_COUNT; ++i) {
        const float a = BAR_PITCH * static_cast<float>(i);
        const float x0 = -a;            // right edge
        const float x1 = -a - BAR_SIZE; // left edge
        const float z0 = 0.0f;
        const float z1 = -BAR_SIZE;
        const float h = spectrum[SPECTRUM_STRIDE * i] * HEIGHT_FACTOR * barGain[i] + BASE_HEIGHT;

        glColor3f(0.5f, 0.0f, 0.0f); // front
        glVertex3f(x0, 0.0f, z0);
        glVertex3f(x0, h, z0);
        glVertex3f(x1, h, z0);
        glVertex3f(x1, 0.0f, z0);

        glColor3f(1.0f, 0.0f, 0.0f); // left
        glVertex3f(x1, 0.0f, z0);
        glVertex3f(x1, h, z0);
        glVertex3f(x1, h, z1);
        glVertex3f(x1, 0.0f, z1);

        glColor3f(1.0f, 0.0f, 0.0f); // right
        glVertex3f(x0, 0.0f, z1);
        glVertex3f(x0, h, z1);
        glVertex3f(x0, h, z0);
        glVertex3f(x0, 0.0f, z0);

        glColor3f(0.5f, 0.0f, 0.0f); // back
        glVertex3f(x1, 0.0f, z1);
        glVertex3f(x1, h, z1);
        glVertex3f(x0, h, z1);
        glVertex3f(x0, 0.0f, z1);

        glColor3f(1.0f, 1.0f, 1.0f); // top
        glVertex3f(x0, h, z0);
        glVertex3f(x0, h, z1);
        glVertex3f(x1, h, z1);
        glVertex3f(x1, h, z0);
    }
    glEnd();
}

void BarStage::drawFloor() const {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    floorTexture->enable();
    // 200 x 200 units facing up, one marble tile per 10 units (the texture repeats).
    glColor4f(1.0f, 1.0f, 1.0f, 0.65f);
    glBegin(GL_QUADS);
    glTexCoord2f(-10.0f, -10.0f);
    glVertex3f(-100.0f, 0.0f, 100.0f);
    glTexCoord2f(10.0f, -10.0f);
    glVertex3f(100.0f, 0.0f, 100.0f);
    glTexCoord2f(10.0f, 10.0f);
    glVertex3f(100.0f, 0.0f, -100.0f);
    glTexCoord2f(-10.0f, 10.0f);
    glVertex3f(-100.0f, 0.0f, -100.0f);
    glEnd();
    floorTexture->disable();
    glDisable(GL_BLEND);
}

void BarStage::drawOverlay(float alpha) const {
    const ScreenSpace screen = ScreenSpace::overlay(ScreenSpace::KEEP_MODELVIEW);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    // The overlay lies at the same depth and would fail the depth test against this quad.
    glDepthMask(GL_FALSE);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    SceneSetup::drawScreenQuad(0.0f);
    // The overlay is modulated by the current colour: give it back unmodulated.
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
