// Intro draws the shared spectrum bars; its slot ends in the bars' closing fade.
#include "scenes/Intro.h"

Intro::Intro(Timer* timer, Music* music) : bars(new BarStage(timer, music)) {}

Intro::~Intro() {
    delete bars;
}

void Intro::init() {
    bars->init();
}

void Intro::render() {
    bars->render();
}

void Intro::drawSpectrum() {
    bars->drawSpectrum();
}

void Intro::drawFloor() {
    bars->drawFloor();
}
