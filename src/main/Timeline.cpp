// Start-up order, the wait for audible sound and the frame loop of the demo.
#include "main/Timeline.h"

#include <GL/gl.h>

#include <chrono>
#include <cstring>

#include "scenes/Creds.h"
#include "scenes/Intro.h"
#include "scenes/Preface.h"
#include "scenes/Sex.h"
#include "scenes/Spectrum.h"
#include "scenes/Test.h"
#include "scenes/Tunnel1.h"
#include "scenes/Tunnel2.h"
#include "scenes/TunnelScene.h"
#include "scenes/TunnelScene2.h"

const float Timeline::bounds[SLOT_COUNT] = {26.0f,  90.0f,  122.0f, 170.0f,
                                            194.0f, 226.0f, 249.0f, 266.0f};
const char* const Timeline::slotNames[SLOT_COUNT] = {
    "Preface", "Intro", "Test", "TunnelScene2", "Spectrum", "TunnelScene", "Creds", "Sex"};
const double Timeline::AUDIO_WAIT_LIMIT = 5.0;

int Timeline::slotAt(float t) {
    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        if (bounds[slot] > t) {
            return slot;
        }
    }
    return SLOT_COUNT;
}

Scene* Timeline::createScene(const char* name, Timer* timer, Music* music) {
    if (strcmp(name, "Preface") == 0) {
        return new Preface(timer, music);
    }
    if (strcmp(name, "Intro") == 0) {
        return new Intro(timer, music);
    }
    if (strcmp(name, "Test") == 0) {
        return new Test(timer, music);
    }
    if (strcmp(name, "Spectrum") == 0) {
        return new Spectrum(timer, music);
    }
    if (strcmp(name, "Creds") == 0) {
        return new Creds(timer, music);
    }
    if (strcmp(name, "Sex") == 0) {
        return new Sex(timer, music);
    }
    if (strcmp(name, "TunnelScene2") == 0) {
        return new TunnelScene2(timer, music);
    }
    if (strcmp(name, "TunnelScene") == 0) {
        return new TunnelScene(timer, music);
    }
    if (strcmp(name, "Tunnel1") == 0) {
        return new Tunnel1(timer, music);
    }
    if (strcmp(name, "Tunnel2") == 0) {
        return new Tunnel2(timer, music);
    }
    return nullptr;
}

Timeline::Timeline() : window(nullptr), timer(nullptr), music(nullptr), scenes() {}

void Timeline::start(int argc, char** argv) {
    // One sample before anything is built: every timer made during loading starts here.
    Timer::update();

    window = new SDLWindow();
    window->init(const_cast<char*>("Vorrel Quisp"), argc, argv);

    timer = new Timer();
    music = new Music();
    music->load("mixdown.mp3", MP3);

    for (int slot = 0; slot < SLOT_COUNT; ++slot) {
        scenes[slot] = createScene(slotNames[slot], timer, music);
    }

    music->play();
    waitForAudio();

    // t = 0 is when the music is first heard, not when it was asked to play.
    Timer::update();
    timer->restart();
}

void Timeline::waitForAudio() {
    // Nothing to hear without a track, and a position set by the caller never moves on its own.
    if (!music->sample && !music->song) {
        return;
    }
    if (soundlayer::outputKind() == soundlayer::OUTPUT_MANUAL) {
        return;
    }
    // Spins on the spectrum, as the sound starts within milliseconds; bounded so that a
    // silent track cannot hang the start-up. A NaN ends the wait like any non-zero value.
    const auto begin = std::chrono::steady_clock::now();
    const float* spectrum = music->getSpectrumBuffer();
    while (spectrum[20] == 0.0f) {
        const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - begin;
        if (waited.count() >= AUDIO_WAIT_LIMIT) {
            return;
        }
        spectrum = music->getSpectrumBuffer();
    }
}

void Timeline::renderSlot(int slot) {
    if (scenes[slot]) {
        scenes[slot]->render();
        return;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Timeline::run() {
    for (;;) {
        Timer::update();
        window->process_events();
        const int slot = slotAt(timer->getElapsedTime());
        if (slot == SLOT_COUNT) {
            window->quit(0);
        }
        renderSlot(slot);
        // Swapping a surface without a back buffer (an offscreen pbuffer) flushes nothing, and
        // llvmpipe then keeps every frame's commands: 1.5 GB within seconds.
        glFlush();
        SDL_GL_SwapBuffers();
    }
}
