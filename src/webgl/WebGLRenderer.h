// The layer's only contact with WebGL: the state passed through, its shader programs, one
// streaming buffer, the draw calls. What it hands WebGL it also keeps (ContextCopy): when the
// browser takes the page's context away (a GPU switch, a driver reset, a tab put away) nothing
// is drawn, and when it gives the context back the renderer builds it all again.
#pragma once

#include <cstddef>
#include <vector>

#include "ContextCopy.h"
#include "DrawState.h"
#include "FogSkip.h"
#include "MipmapChain.h"
#include "PrimitiveAssembler.h"
#include "ThinLines.h"

class WebGLRenderer {
  public:
    WebGLRenderer();
    ~WebGLRenderer();
    WebGLRenderer(const WebGLRenderer&) = delete;
    WebGLRenderer& operator=(const WebGLRenderer&) = delete;

    // What WebGL keeps as OpenGL does, passed through as it is (GL enums, pixels).
    void enable(unsigned cap, bool on);
    void blendFunc(unsigned source, unsigned destination);
    void depthMask(bool on);
    void frontFace(unsigned mode);
    void viewport(int x, int y, int width, int height);
    void scissor(int x, int y, int width, int height);
    void clear(unsigned mask);
    void clearColor(float red, float green, float blue, float alpha);
    void clearStencil(int s);
    void flush();
    unsigned error();
    void currentViewport(int box[4]); // x, y, width, height
    void genTextures(int n, unsigned* names);
    void deleteTextures(int n, const unsigned* names);
    void bindTexture(unsigned name);
    void texParameter(unsigned target, unsigned pname, int param);

    // Draws the vertices with the state; each program is made when first drawn with, when the
    // page's context exists. Leaves a program, the vertex and the index buffer bound, which
    // nothing else uses.
    void draw(PrimitiveAssembler::Kind kind, const std::vector<DrawVertex>& vertices,
              const DrawState& state);

    // Replaces the bound texture's image with the levels, level 0 first.
    void upload(const std::vector<MipmapChain::Level>& levels);

    // The context is gone: nothing reaches WebGL until it is back.
    void lose();
    // The context is back, empty: the textures, the state and the bound texture are made again
    // from the copy; the programs and the buffers are made again when next drawn with.
    void restore();

  private:
    // The shaders' uniforms, in the order of the names the programs look up.
    enum Uniform {
        TRANSFORM, // projection times model-view
        EYE_Z,     // the model-view's third row: a vertex's depth in eye space
        ORIGIN,
        VIEWPORT,
        LINE_WIDTH,
        POINT_SIZE,
        FOG_START,
        FOG_SCALE,
        FOG_DENSITY,
        FOG_COLOR,
        UNIFORM_COUNT
    };
    // What a program's vertices are: triangles and quads; wider lines' quads; points; one-pixel
    // lines' triangles (ThinLineVertex).
    enum Shape { FILL, WIDE_LINES, POINTS, THIN_LINES, SHAPES };
    static const int FOG_MODES = 4; // DrawState::fogMode
    struct Program {
        unsigned id = 0;
        int at[UNIFORM_COUNT] = {}; // each uniform's location, -1 where the program has none
    };

    // The levels into the bound texture, level 0 first.
    void put(const std::vector<MipmapChain::Level>& levels);
    // The buffers made on the first draw; false once a program has not built.
    bool ready();
    bool build(Program& built, int shape, bool texturing, int fogMode);
    // Puts the program of the shape and the state in use, built on its first use, and sets its
    // uniforms; false when it does not build.
    bool useProgram(Shape shape, const DrawState& state);
    // Puts the vertices into the streaming buffer, growing its store when they outgrow it; more
    // follows them when given.
    void fillBuffer(const void* data, size_t bytes, const void* more = nullptr,
                    size_t moreBytes = 0);
    // Vertices first .. first + count of the buffer, with the program of the shape: triangles,
    // or points for POINTS.
    void drawArrays(Shape shape, size_t first, size_t count, const DrawState& state);

    // One route for each kind of primitive.
    void drawTriangles(const std::vector<DrawVertex>& vertices, const DrawState& state);
    void drawQuads(Shape shape, const std::vector<DrawVertex>& corners, const DrawState& state);
    void drawLines(const std::vector<DrawVertex>& ends, const DrawState& state);
    void drawPoints(const std::vector<DrawVertex>& vertices, const DrawState& state);
    // Lines wider than a pixel as quads; one-pixel lines by the desktop's rule.
    void drawWideLines(const std::vector<DrawVertex>& ends, const DrawState& state);
    void drawThinLines(const std::vector<DrawVertex>& ends, const DrawState& state);

    // One program for each shape, texturing on or off and fog mode, built when first drawn with.
    Program programs[SHAPES * 2 * FOG_MODES];
    Program* current; // in use; null until the first is
    unsigned buffer;
    unsigned quadIndices; // the index list every quad-drawing call shares
    unsigned bufferBytes; // the buffer's current store, grown as batches grow
    bool failed;          // a program did not build: nothing is drawn
    bool lost;            // the page's context is gone
    ContextCopy kept;
    FogSkip fogSkip;
    // What a batch becomes on its way to the buffer, kept to spare reallocation: its runs by fog,
    // the triangles fog changes and those it leaves as they are, wide lines' corners, one-pixel
    // lines' corners likewise.
    std::vector<FogSkip::Run> runs;
    std::vector<DrawVertex> fogged;
    std::vector<DrawVertex> unfogged;
    std::vector<DrawVertex> wide;
    std::vector<ThinLineVertex> thin;
    std::vector<ThinLineVertex> thinUnfogged;
};
