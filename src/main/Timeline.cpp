// Start-up order, the wait for audible sound and the frame loop of the demo.
#include "main/Timeline.h"

#include <GL/gl.h>

#include "main/GLErrorCheck.h"

const double Timeline::AUDIO_WAIT_LIMIT = 5.0;

Timeline::Timeline()
    : window(nullptr), timer(nullptr), music(nullptr), scenes(), startTick(0), clockStarted(false),
      played(), lastSlot(-1), drawn() {}

Timeline::~Timeline() {
    for (int slot = Schedule::SLOT_COUNT - 1; slot >= 0; --slot) {
        delete scenes[slot];
    }
    delete music;
    delete timer;
    delete window;
}

void Timeline::start(int argc, char** argv) {
    // One sample before anything is built: every timer made during loading starts here.
    Timer::update();
    startTick = Timer::getRawTime();
    window = new SDLWindow(true);
    window->init(const_cast<char*>("Vorrel Quisp"), argc, argv);
    load();
}

void Timeline::start(int width, int height, bool fullScreen) {
    open(width, height, fullScreen);
    load();
}

void Timeline::startPlaying(int width, int height, bool fullScreen) {
    open(width, height, fullScreen);
    loadAndPlay();
}

void Timeline::open(int width, int height, bool fullScreen) {
    // One sample before anything is built, as above.
    Timer::update();
    startTick = Timer::getRawTime();
    window = new SDLWindow(fullScreen);
    window->init(const_cast<char*>("Vorrel Quisp"), width, height);
}

void Timeline::load() {
    loadAndPlay();
    // Spins on the spectrum, as the sound starts within milliseconds.
    while (!audioStarted()) {
    }
}

void Timeline::loadAndPlay() {
    timer = new Timer();
    music = new Music();
    music->load("mixdown.mp3", MP3);

    for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
        scenes[slot] = Schedule::createScene(Schedule::slots[slot].name, timer, music);
    }

    music->play();
    played = std::chrono::steady_clock::now();
}

void Timeline::remakeScene(int slot) {
    delete scenes[slot];
    scenes[slot] = Schedule::createScene(Schedule::slots[slot].name, timer, music);
    drawn[slot] = false;
}

bool Timeline::audioStarted() {
    if (clockStarted) {
        return true;
    }
    const std::chrono::duration<double> waited = std::chrono::steady_clock::now() - played;
    if (!audioWaitOver(waited.count())) {
        return false;
    }
    // t = 0 is when the music is first heard, not when it was asked to play.
    Timer::update();
    timer->restart();
    clockStarted = true;
    return true;
}

bool Timeline::audioWaitOver(double waited) {
    // Nothing to hear without a track, and a position set by the caller never moves on its own.
    if (!music->isLoaded() || Music::hasManualOutput()) {
        return true;
    }
    // A NaN ends the wait like any non-zero value; the limit keeps a silent track from
    // hanging the start-up.
    return music->getSpectrumBuffer()[20] != 0.0f || waited >= AUDIO_WAIT_LIMIT;
}

int Timeline::step() {
    const int slot = Schedule::slotAt(timer->getElapsedTime());
    if (slot == Schedule::SLOT_COUNT) {
        return slot;
    }
    renderSlot(slot);
    drawn[slot] = true;
    lastSlot = slot;
    return slot;
}

void Timeline::renderSlot(int slot) {
    if (scenes[slot]) {
        renderScene(scenes[slot], Schedule::slots[slot].name);
        return;
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void Timeline::renderScene(Scene* scene, const char* name) {
    scene->render();
    GLErrorCheck::afterFrame(name);
}

int Timeline::frame() {
    Timer::update();
    window->process_events();
    const int slot = step();
    if (slot == Schedule::SLOT_COUNT) {
        window->quit(0);
    }
    return slot;
}

void Timeline::run() {
    for (;;) {
        frame();
        // Swapping a surface without a back buffer (an offscreen pbuffer) flushes nothing, and
        // llvmpipe then keeps every frame's commands: 1.5 GB within seconds.
        glFlush();
        SDL_GL_SwapBuffers();
    }
}
