// The credits scene's set-up, background pass and two-pass greetings text.
#include "scenes/Creds.h"

#include <GL/gl.h>

#include "image/Texture.h"
#include "platform/Timer.h"
#include "scenes/LazySetup.h"
#include "scenes/SceneSetup.h"
#include "scenes/ScreenSpace.h"
#include "scenes/Scroll.h"

const char* const Creds::GREETINGS =
    "GREETINGS TO ZOLBERT, THE QUARNE MASTERS, UX, FENDEL WAVE, ORIN MAVEK (FOR NOISE), "
    "TRUDAN, AND PELOSA.";

Creds::Creds(Timer* timer, Music* music)
    : timer(timer), music(music), local_timer(new Timer()), initialized(false),
      bgTexture(new Texture("textures/bg.png")),
      fontMaskTexture(new Texture("textures/font_mask.png")),
      fontTexture(new Texture("textures/font.png")), scroll(new Scroll()) {
    scroll->setText(GREETINGS);
}

Creds::~Creds() {
    delete local_timer;
    delete bgTexture;
    delete fontMaskTexture;
    delete fontTexture;
    delete scroll;
}

void Creds::init() {
    // Near plane 0.1 and aspect 4/3 as single-precision values widened.
    SceneSetup(static_cast<double>(0.1f), SceneSetup::ASPECT_FLOAT, 1.0f, 1.0f, 1.0f, 0.0f, 0.0f,
               0.0f)
        .apply();
    glClearStencil(0);
    local_timer->restart();
}

void Creds::render() {
    LazySetup::onFirstFrame(this);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);

    drawBackground();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    drawGreetings();
    advanceScroll();
}

void Creds::advanceScroll() {
    scroll->update(local_timer->getInterval());
}

void Creds::drawBackground() {
    glEnable(GL_DEPTH_TEST);
    const ScreenSpace screen(0.0, 800.0, 0.0, 600.0, -100.0, 100.0, // y upwards
                             ScreenSpace::IDENTITY_MODELVIEW);

    // At the far end of the depth range, behind anything else.
    bgTexture->enable();
    glBegin(GL_QUADS);
    glColor3f(1.0f, 1.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, -99.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(800.0f, 0.0f, -99.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(800.0f, 600.0f, -99.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(0.0f, 600.0f, -99.0f);
    glEnd();
    bgTexture->disable();
}

void Creds::drawGreetings() {
    // 640 x 480 units over the 800 x 600 viewport, y upwards; the scroller's 800-unit region
    // reaches past the right edge, so the line moves before it shows.
    const ScreenSpace screen(0.0, 640.0, 0.0, 480.0, -100.0, 100.0,
                             ScreenSpace::IDENTITY_MODELVIEW);

    glEnable(GL_BLEND);
    // Mask: the frame multiplied by the mask image under every glyph quad.
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    fontMaskTexture->enable();
    scroll->render();
    fontMaskTexture->disable();
    // Colour: the font image added over the darkened frame, which stays by the font's alpha.
    glBlendFunc(GL_ONE, GL_SRC_ALPHA);
    fontTexture->enable();
    scroll->render();
    fontTexture->disable();
    glDisable(GL_BLEND);
}
