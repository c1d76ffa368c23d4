// Small scenes, one per group of OpenGL 1.x calls, drawn alike on the desktop and in a browser.
#pragma once

struct LayerScene {
    const char* name;
    void (*draw)();
};

const int LAYER_WIDTH = 160;
const int LAYER_HEIGHT = 120;

extern const LayerScene LAYER_SCENES[];
extern const int LAYER_SCENE_COUNT;

// Sets the state every scene starts from, as a fresh context has it, and clears the frame.
void resetLayerState();

// Provokes, one at a time, the errors the layer reports (stack underflow, an unknown primitive,
// a state change inside glBegin/glEnd, a zero line width) and reads each back with glGetError,
// then once more (no error left). Writes the codes read, returns how many.
int readLayerErrors(unsigned* codes, int capacity);
