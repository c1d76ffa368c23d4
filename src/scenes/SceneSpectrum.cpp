// Spectrum draws the shared spectrum bars; its slot ends before the closing fade.
#include "scenes/SceneSpectrum.h"

Spectrum::Spectrum(Timer* timer, Music* music) : bars(new BarStage(timer, music)) {}

Spectrum::~Spectrum() {
    delete bars;
}

void Spectrum::init() {
    bars->init();
}

void Spectrum::render() {
    bars->render();
}

void Spectrum::drawSpectrum() {
    bars->drawSpectrum();
}

void Spectrum::drawFloor() {
    bars->drawFloor();
}
