// The layer's only contact with WebGL: one shader program, one streaming buffer, the draw call.
#pragma once

#include <vector>

#include "Matrix4.h"
#include "MipmapChain.h"
#include "PrimitiveAssembler.h"

// Everything of the fixed-function state that reaches the shader for one batch.
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

class WebGLRenderer {
  public:
    WebGLRenderer();
    ~WebGLRenderer();
    WebGLRenderer(const WebGLRenderer&) = delete;
    WebGLRenderer& operator=(const WebGLRenderer&) = delete;

    // Draws the vertices with the state; the program is made on the first call, when the
    // page's context exists. Leaves the program, the vertex and the index buffer bound, which
    // nothing else uses.
    void draw(PrimitiveAssembler::Kind kind, const std::vector<DrawVertex>& vertices,
              const DrawState& state);

    // Replaces the bound texture's image with the levels, level 0 first.
    void upload(const std::vector<MipmapChain::Level>& levels);

  private:
    bool setUp();
    void setUniforms(PrimitiveAssembler::Kind kind, const DrawState& state);

    unsigned program;
    unsigned buffer;
    unsigned quadIndices; // the index list every quad-drawing call shares
    unsigned bufferBytes; // the buffer's current store, grown as batches grow
    bool failed;          // the program did not build: nothing is drawn
    int projectionAt, modelviewAt, originAt, viewportAt, lineWidthAt, pointSizeAt, texturingAt,
        pointsAt, samplerAt;
    int fogModeAt, fogStartAt, fogScaleAt, fogDensityAt, fogColorAt;
};
