// Everything of the fixed-function state that reaches the shaders for one batch.
#pragma once

#include "Matrix4.h"

struct DrawState {
    Matrix4 projection;
    Matrix4 modelview;
    float viewportX; // the viewport's corner in the drawing buffer
    float viewportY;
    float viewportWidth;
    float viewportHeight;
    float lineWidth; // pixels
    float pointSize; // pixels
    bool texturing;  // enabled and the bound texture has an image
    int fogMode;     // 0 off, 1 linear, 2 exp, 3 exp2
    float fogStart;
    float fogScale; // 1 / (end - start)
    float fogDensity;
    float fogColor[3];
    bool culling; // GL_CULL_FACE enabled: lines drawn as quads must not be culled
};
