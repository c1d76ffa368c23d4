// The layer's only contact with WebGL: two shader programs, one streaming buffer, the draw call.
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

    // Draws the vertices with the state; the programs are made on the first call, when the
    // page's context exists. Leaves a program, the vertex and the index buffer bound, which
    // nothing else uses.
    void draw(PrimitiveAssembler::Kind kind, const std::vector<DrawVertex>& vertices,
              const DrawState& state);

    // Replaces the bound texture's image with the levels, level 0 first.
    void upload(const std::vector<MipmapChain::Level>& levels);

  private:
    // The shaders' uniforms, in the order of the names the programs look up.
    enum Uniform {
        PROJECTION,
        MODELVIEW,
        ORIGIN,
        VIEWPORT,
        LINE_WIDTH,
        POINT_SIZE,
        TEXTURING,
        POINTS,
        FOG_MODE,
        FOG_START,
        FOG_SCALE,
        FOG_DENSITY,
        FOG_COLOR,
        UNIFORM_COUNT
    };
    struct Program {
        unsigned id = 0;
        int at[UNIFORM_COUNT] = {}; // each uniform's location
    };

    bool setUp();
    bool build(Program& built, const char* defines);
    void setUniforms(PrimitiveAssembler::Kind kind, const DrawState& state);

    // One-pixel lines test every pixel of their quads; the rest need not pay for it.
    Program fill, thinLines;
    Program* current; // in use; null until the programs are made
    unsigned buffer;
    unsigned quadIndices; // the index list every quad-drawing call shares
    unsigned bufferBytes; // the buffer's current store, grown as batches grow
    bool failed;          // a program did not build: nothing is drawn
};
