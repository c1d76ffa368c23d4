// The fixed-function pipeline the demo uses, as GLSL ES programs over WebGL.
#include "WebGLRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include <emscripten.h>
#include <emscripten/html5.h>
#include <webgl/webgl1.h>

namespace {

enum Attribute { POSITION, OTHER, SIDE, COLOR, TEXCOORD };

// Each program is built for one shape of primitive, with texturing on or off and one fog mode
// (the defines SHAPE, TEXTURING and FOG), so that no vertex or fragment pays for a branch it does
// not take: a software rasteriser runs both sides of a branch on a uniform.
//
// Lines wider than a pixel are quads, by OpenGL's rule for aliased lines: an x-major segment
// grows vertically, a y-major one horizontally, by half the width each way. An end behind the
// near plane moves along the segment onto it first, so the window-space direction stays the
// visible part's. One-pixel lines, most of the demo's, are a triangle each whose fragment shader
// keeps exactly the pixels desktop OpenGL draws (the rasteriser's own lines pick rows and end
// pixels of their own where a line passes through a pixel's edge); ThinLines works out what its
// corners share, once a segment. Points snap as aliased points do. Widths and sizes arrive in whole
// pixels.
const char* VERTEX_SHADER = R"(
attribute vec3 a_position;
attribute vec3 a_other;
attribute float a_side;
attribute vec4 a_color;
attribute vec2 a_texcoord;
uniform mat4 u_transform;
uniform vec4 u_eyeZ;
uniform vec2 u_origin;
uniform vec2 u_viewport;
uniform float u_lineWidth;
uniform float u_pointSize;
varying vec4 v_color;
#if TEXTURING
varying vec2 v_texcoord;
#endif
#if FOG != 0
varying float v_fogDepth;
#endif
void main() {
    vec4 clip = u_transform * vec4(a_position, 1.0);
    float eyeZ = dot(u_eyeZ, vec4(a_position, 1.0));
    v_color = a_color;
#if TEXTURING
    v_texcoord = a_texcoord;
#endif
#if SHAPE == WIDE_LINES
    vec4 other = u_transform * vec4(a_other, 1.0);
    float d = clip.z + clip.w;
    float dOther = other.z + other.w;
    if (d < 0.0 && dOther < 0.0) {
        gl_Position = vec4(2.0, 2.0, 2.0, 1.0);
#if FOG != 0
        v_fogDepth = 0.0;
#endif
        return;
    }
    if (d < 0.0) {
        float t = d / (d - dOther);
        clip = mix(clip, other, t);
        eyeZ = mix(eyeZ, dot(u_eyeZ, vec4(a_other, 1.0)), t);
    } else if (dOther < 0.0) {
        other = mix(other, clip, dOther / (dOther - d));
    }
    vec2 own = u_origin + (clip.xy / clip.w * 0.5 + 0.5) * u_viewport;
    vec2 far = u_origin + (other.xy / other.w * 0.5 + 0.5) * u_viewport;
    vec2 dir = far - own;
    vec2 across = abs(dir.x) >= abs(dir.y) ? vec2(0.0, 1.0) : vec2(1.0, 0.0);
    vec2 window = own + across * sign(a_side) * u_lineWidth * 0.5;
    clip.xy = ((window - u_origin) / u_viewport * 2.0 - 1.0) * clip.w;
#elif SHAPE == POINTS
    // Aliased points: an odd size centres on a pixel, an even one on a pixel corner.
    gl_PointSize = u_pointSize;
    vec2 window = (clip.xy / clip.w * 0.5 + 0.5) * u_viewport;
    window = mod(u_pointSize, 2.0) == 1.0 ? floor(window) + 0.5 : floor(window + 0.5);
    clip.xy = (window / u_viewport * 2.0 - 1.0) * clip.w;
#endif
#if FOG != 0
    v_fogDepth = abs(eyeZ);
#endif
    gl_Position = clip;
}
)";

// One-pixel lines come with their triangles' corners in clip space and what the fragment shader
// tests worked out on the processor (ThinLines): a vertex passes them on.
const char* THIN_VERTEX_SHADER = R"(
attribute vec4 a_clip;
attribute vec4 a_line;
attribute vec4 a_span;
attribute vec4 a_color;
attribute vec2 a_texcoord;
varying vec4 v_color;
varying vec4 v_line;
varying vec2 v_span;
varying float v_xMajor;
#if TEXTURING
varying vec2 v_texcoord;
#endif
#if FOG != 0
varying float v_fogDepth;
#endif
void main() {
    v_color = a_color;
    v_line = a_line;
    v_span = a_span.xy;
    v_xMajor = a_span.z;
#if TEXTURING
    v_texcoord = a_texcoord;
#endif
#if FOG != 0
    v_fogDepth = a_span.w;
#endif
    gl_Position = a_clip;
}
)";

// Modulate: the texel times the vertex colour; fog mixes the colour, never the alpha.
const char* FRAGMENT_SHADER = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
varying vec4 v_color;
#if TEXTURING
uniform sampler2D u_texture;
varying vec2 v_texcoord;
#endif
#if FOG != 0
uniform float u_fogStart;
uniform float u_fogScale;
uniform float u_fogDensity;
uniform vec3 u_fogColor;
varying float v_fogDepth;
#endif
#if SHAPE == THIN_LINES
varying vec4 v_line;
varying vec2 v_span;
varying float v_xMajor;
#endif
void main() {
#if SHAPE == THIN_LINES
    {
        // A pixel of a one-pixel line: its centre within the span along the major axis and
        // within half a pixel across it, half-open both ways. The ends sit on the 1/256 grid
        // and the span's edges on whole pixels: taken back there from the interpolated values,
        // and the line's height at the centre to a 1/2048 grid, past the float's rounding, a
        // line through a pixel's edge falls on the same side as on the desktop.
        vec4 line = floor(v_line * 256.0 + 0.5) / 256.0;
        vec2 span = floor(v_span + 0.5);
        vec2 f = v_xMajor > 0.5 ? gl_FragCoord.xy : gl_FragCoord.yx;
        vec2 dm = line.zw - line.xy;
        float across = floor((line.y + (f.x - line.x) * dm.y / dm.x) * 2048.0 + 0.5) / 2048.0;
        if (dm.x == 0.0 || f.x < min(span.x, span.y) || f.x >= max(span.x, span.y) ||
            f.y < across - 0.5 || f.y >= across + 0.5)
            discard;
    }
#endif
    vec4 color = v_color;
#if TEXTURING
    color *= texture2D(u_texture, v_texcoord);
#endif
#if FOG == 1
    float f = 1.0 - (v_fogDepth - u_fogStart) * u_fogScale;
#elif FOG == 2
    float f = exp(-u_fogDensity * v_fogDepth);
#elif FOG == 3
    float e = u_fogDensity * v_fogDepth;
    float f = exp(-e * e);
#endif
#if FOG != 0
    color.rgb = mix(u_fogColor, color.rgb, clamp(f, 0.0, 1.0));
#endif
    gl_FragColor = color;
}
)";

GLuint compile(GLenum type, const char* defines, const char* source) {
    const GLuint shader = emscripten_glCreateShader(type);
    const char* parts[] = {defines, source};
    emscripten_glShaderSource(shader, 2, parts, nullptr);
    emscripten_glCompileShader(shader);
    GLint ok = 0;
    emscripten_glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = "";
        emscripten_glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        fprintf(stderr, "GL layer: shader does not compile: %s\n", log);
    }
    return shader;
}

// Quads drawn by one indexed call: 16-bit indices reach 65536 corners.
const int QUADS_A_CALL = 16384;

// Points the attributes at the vertices from the given one on, in the bound buffer.
void pointAttributes(size_t first) {
    const size_t base = first * sizeof(DrawVertex);
    const GLsizei stride = sizeof(DrawVertex);
    const auto at = [base](size_t offset) { return reinterpret_cast<const void*>(base + offset); };
    emscripten_glVertexAttribPointer(POSITION, 3, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(DrawVertex, position)));
    emscripten_glVertexAttribPointer(OTHER, 3, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(DrawVertex, other)));
    emscripten_glVertexAttribPointer(SIDE, 1, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(DrawVertex, side)));
    emscripten_glVertexAttribPointer(COLOR, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                                     at(offsetof(DrawVertex, color)));
    emscripten_glVertexAttribPointer(TEXCOORD, 2, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(DrawVertex, texcoord)));
}

// The same for one-pixel lines' triangles.
void pointThinAttributes() {
    const GLsizei stride = sizeof(ThinLineVertex);
    const auto at = [](size_t offset) { return reinterpret_cast<const void*>(offset); };
    emscripten_glVertexAttribPointer(POSITION, 4, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(ThinLineVertex, clip)));
    emscripten_glVertexAttribPointer(OTHER, 4, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(ThinLineVertex, line)));
    emscripten_glVertexAttribPointer(SIDE, 4, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(ThinLineVertex, span)));
    emscripten_glVertexAttribPointer(COLOR, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride,
                                     at(offsetof(ThinLineVertex, color)));
    emscripten_glVertexAttribPointer(TEXCOORD, 2, GL_FLOAT, GL_FALSE, stride,
                                     at(offsetof(ThinLineVertex, texcoord)));
}

const unsigned CONTEXT_LOST_WEBGL = 0x9242;

// The browser's word that the page's context is gone or back. Gone, the default is prevented:
// else the browser never gives it back.
EM_BOOL contextLost(int, const void*, void* renderer) {
    static_cast<WebGLRenderer*>(renderer)->lose();
    return EM_TRUE;
}

EM_BOOL contextRestored(int, const void*, void* renderer) {
    static_cast<WebGLRenderer*>(renderer)->restore();
    return EM_TRUE;
}

// What the kept copies cost, for the page to report.
void tellKeptBytes(size_t bytes) {
    EM_ASM({ Module['glKeptBytes'] = $0; }, static_cast<double>(bytes));
}

} // namespace

WebGLRenderer::WebGLRenderer()
    : current(nullptr), buffer(0), quadIndices(0), bufferBytes(0), failed(false), lost(false) {
    emscripten_set_webglcontextlost_callback("#canvas", this, EM_TRUE, &contextLost);
    emscripten_set_webglcontextrestored_callback("#canvas", this, EM_TRUE, &contextRestored);
}

WebGLRenderer::~WebGLRenderer() {
    if (quadIndices) {
        emscripten_glDeleteBuffers(1, &quadIndices);
    }
    if (buffer) {
        emscripten_glDeleteBuffers(1, &buffer);
    }
    for (Program& each : programs) {
        if (each.id) {
            emscripten_glDeleteProgram(each.id);
        }
    }
}

void WebGLRenderer::enable(unsigned cap, bool on) {
    fogSkip.capability(cap, on);
    kept.capability(cap, on);
    if (on) {
        emscripten_glEnable(cap);
    } else {
        emscripten_glDisable(cap);
    }
}

void WebGLRenderer::blendFunc(unsigned source, unsigned destination) {
    kept.blendSource = source;
    kept.blendDestination = destination;
    emscripten_glBlendFunc(source, destination);
}

void WebGLRenderer::depthMask(bool on) {
    fogSkip.depthMask(on);
    kept.depthMask = on;
    emscripten_glDepthMask(on ? GL_TRUE : GL_FALSE);
}

void WebGLRenderer::frontFace(unsigned mode) {
    kept.frontFace = mode;
    emscripten_glFrontFace(mode);
}

void WebGLRenderer::viewport(int x, int y, int width, int height) {
    const int box[4] = {x, y, width, height};
    std::copy(box, box + 4, kept.viewport);
    emscripten_glViewport(x, y, width, height);
}

void WebGLRenderer::scissor(int x, int y, int width, int height) {
    const int box[4] = {x, y, width, height};
    std::copy(box, box + 4, kept.scissor);
    emscripten_glScissor(x, y, width, height);
}

void WebGLRenderer::clear(unsigned mask) {
    if (!lost) {
        emscripten_glClear(mask);
    }
}

void WebGLRenderer::clearColor(float red, float green, float blue, float alpha) {
    const float rgba[4] = {red, green, blue, alpha};
    std::copy(rgba, rgba + 4, kept.clearColor);
    emscripten_glClearColor(red, green, blue, alpha);
}

void WebGLRenderer::clearStencil(int s) {
    kept.clearStencil = s;
    emscripten_glClearStencil(s);
}

void WebGLRenderer::flush() {
    emscripten_glFlush();
}

unsigned WebGLRenderer::error() {
    // A lost context reports its loss once: not an error of the demo's.
    const unsigned code = emscripten_glGetError();
    return lost || code == CONTEXT_LOST_WEBGL ? GL_NO_ERROR : code;
}

void WebGLRenderer::currentViewport(int box[4]) {
    if (kept.viewport[2] > 0) {
        std::copy(kept.viewport, kept.viewport + 4, box);
    } else {
        emscripten_glGetIntegerv(GL_VIEWPORT, box);
    }
}

void WebGLRenderer::genTextures(int n, unsigned* names) {
    for (int i = 0; i < n; ++i) {
        names[i] = kept.add();
        emscripten_glGenTextures(1, &kept.texture(names[i])->webgl);
    }
}

void WebGLRenderer::deleteTextures(int n, const unsigned* names) {
    for (int i = 0; i < n; ++i) {
        ContextCopy::Texture* t = kept.texture(names[i]);
        if (t && t->webgl) {
            emscripten_glDeleteTextures(1, &t->webgl);
        }
        kept.remove(names[i]);
    }
    tellKeptBytes(kept.bytes());
}

void WebGLRenderer::bindTexture(unsigned name) {
    kept.bound = kept.texture(name) ? name : 0;
    const ContextCopy::Texture* t = kept.texture(name);
    emscripten_glBindTexture(GL_TEXTURE_2D, t ? t->webgl : 0);
}

void WebGLRenderer::texParameter(unsigned target, unsigned pname, int param) {
    kept.parameter(kept.bound, pname, param);
    emscripten_glTexParameteri(target, pname, param);
}

void WebGLRenderer::lose() {
    lost = true;
}

void WebGLRenderer::restore() {
    // Everything made in the lost context is gone with it.
    for (Program& each : programs) {
        each = Program();
    }
    current = nullptr;
    buffer = quadIndices = bufferBytes = 0;
    failed = false;
    lost = false;
    for (ContextCopy::Texture& t : kept.textures()) {
        if (!t.live) {
            continue;
        }
        emscripten_glGenTextures(1, &t.webgl);
        emscripten_glBindTexture(GL_TEXTURE_2D, t.webgl);
        for (const auto& parameter : t.parameters) {
            emscripten_glTexParameteri(GL_TEXTURE_2D, parameter.first, parameter.second);
        }
        put(t.levels);
    }
    const ContextCopy::Texture* bound = kept.texture(kept.bound);
    emscripten_glBindTexture(GL_TEXTURE_2D, bound ? bound->webgl : 0);
    for (const auto& cap : kept.capabilities()) {
        if (cap.second) {
            emscripten_glEnable(cap.first);
        } else {
            emscripten_glDisable(cap.first);
        }
    }
    emscripten_glBlendFunc(kept.blendSource, kept.blendDestination);
    emscripten_glDepthMask(kept.depthMask ? GL_TRUE : GL_FALSE);
    emscripten_glFrontFace(kept.frontFace);
    if (kept.viewport[2] > 0) {
        emscripten_glViewport(kept.viewport[0], kept.viewport[1], kept.viewport[2],
                              kept.viewport[3]);
    }
    if (kept.scissor[2] > 0) {
        emscripten_glScissor(kept.scissor[0], kept.scissor[1], kept.scissor[2], kept.scissor[3]);
    }
    emscripten_glClearColor(kept.clearColor[0], kept.clearColor[1], kept.clearColor[2],
                            kept.clearColor[3]);
    emscripten_glClearStencil(kept.clearStencil);
}

bool WebGLRenderer::build(Program& built, int shape, bool texturing, int fogMode) {
    char defines[192];
    snprintf(defines, sizeof(defines),
             "#define FILL 0\n#define WIDE_LINES 1\n#define POINTS 2\n#define THIN_LINES 3\n"
             "#define SHAPE %d\n#define TEXTURING %d\n#define FOG %d\n",
             shape, texturing ? 1 : 0, fogMode);
    const GLuint vertex = compile(GL_VERTEX_SHADER, defines,
                                  shape == THIN_LINES ? THIN_VERTEX_SHADER : VERTEX_SHADER);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, defines, FRAGMENT_SHADER);
    const GLuint program = emscripten_glCreateProgram();
    built.id = program;
    emscripten_glAttachShader(program, vertex);
    emscripten_glAttachShader(program, fragment);
    // One-pixel lines' attributes share the others' locations: no program has both.
    const char* names[] = {"a_position", "a_other", "a_side", "a_color",
                           "a_texcoord", "a_clip",  "a_line", "a_span"};
    for (GLuint i = 0; i < 8; ++i) {
        emscripten_glBindAttribLocation(program, i % 5, names[i]);
    }
    emscripten_glLinkProgram(program);
    emscripten_glDeleteShader(vertex);
    emscripten_glDeleteShader(fragment);
    GLint ok = 0;
    emscripten_glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        fprintf(stderr, "GL layer: the shader program does not link\n");
        return false;
    }
    emscripten_glUseProgram(program);
    static const char* const NAMES[UNIFORM_COUNT] = {
        "u_transform", "u_eyeZ",     "u_origin",   "u_viewport",   "u_lineWidth",
        "u_pointSize", "u_fogStart", "u_fogScale", "u_fogDensity", "u_fogColor"};
    for (int i = 0; i < UNIFORM_COUNT; ++i) {
        built.at[i] = emscripten_glGetUniformLocation(program, NAMES[i]);
    }
    if (texturing) {
        emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "u_texture"), 0);
    }
    return true;
}

bool WebGLRenderer::ready() {
    if (buffer || failed) {
        return !failed;
    }
    emscripten_glGenBuffers(1, &buffer);
    emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
    for (GLuint i = 0; i < 5; ++i) {
        emscripten_glEnableVertexAttribArray(i);
    }
    // Quad k of a call is corners 4k .. 4k + 3, as triangles (0 1 2) and (0 2 3).
    std::vector<unsigned short> indices(QUADS_A_CALL * 6);
    for (int k = 0; k < QUADS_A_CALL; ++k) {
        const unsigned short corner = static_cast<unsigned short>(4 * k);
        const unsigned short quad[6] = {corner,
                                        static_cast<unsigned short>(corner + 1),
                                        static_cast<unsigned short>(corner + 2),
                                        corner,
                                        static_cast<unsigned short>(corner + 2),
                                        static_cast<unsigned short>(corner + 3)};
        std::copy(quad, quad + 6, &indices[static_cast<size_t>(k) * 6]);
    }
    emscripten_glGenBuffers(1, &quadIndices);
    emscripten_glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, quadIndices);
    emscripten_glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                            static_cast<GLsizeiptr>(indices.size() * sizeof(indices[0])),
                            indices.data(), GL_STATIC_DRAW);
    return true;
}

namespace {

// Aliased lines and points are a whole number of pixels wide, at least 1: the nearest, a half
// rounded up for a line and down for a point, as the desktop's rasteriser draws them.
float aliasedLineWidth(float width) {
    const float whole = std::floor(width + 0.5f);
    return whole < 1.0f ? 1.0f : whole;
}

float aliasedPointSize(float size) {
    const float whole = std::ceil(size - 0.5f);
    return whole < 1.0f ? 1.0f : whole;
}

DrawState withoutFog(const DrawState& state) {
    DrawState unfogged = state;
    unfogged.fogMode = 0;
    return unfogged;
}

} // namespace

bool WebGLRenderer::useProgram(Shape shape, const DrawState& state) {
    Program& wanted = programs[(shape * 2 + (state.texturing ? 1 : 0)) * FOG_MODES + state.fogMode];
    if (failed || (!wanted.id && !build(wanted, shape, state.texturing, state.fogMode))) {
        failed = true;
        return false;
    }
    if (&wanted != current) {
        current = &wanted;
        emscripten_glUseProgram(current->id);
    }
    // A uniform the program leaves out has no location (-1): it is not set.
    const int* at = current->at;
    const auto set1f = [](int location, float value) {
        if (location >= 0) {
            emscripten_glUniform1f(location, value);
        }
    };
    // Projection times model-view once a batch, not once a vertex; the eye's depth for fog.
    if (at[TRANSFORM] >= 0) {
        const Matrix4 transform = state.projection * state.modelview;
        emscripten_glUniformMatrix4fv(at[TRANSFORM], 1, GL_FALSE, transform.m);
    }
    if (at[EYE_Z] >= 0) {
        const float* m = state.modelview.m;
        emscripten_glUniform4f(at[EYE_Z], m[2], m[6], m[10], m[14]);
    }
    if (at[ORIGIN] >= 0) {
        emscripten_glUniform2f(at[ORIGIN], state.viewportX, state.viewportY);
    }
    if (at[VIEWPORT] >= 0) {
        emscripten_glUniform2f(at[VIEWPORT], state.viewportWidth, state.viewportHeight);
    }
    set1f(at[LINE_WIDTH], aliasedLineWidth(state.lineWidth));
    set1f(at[POINT_SIZE], aliasedPointSize(state.pointSize));
    set1f(at[FOG_START], state.fogStart);
    set1f(at[FOG_SCALE], state.fogScale);
    set1f(at[FOG_DENSITY], state.fogDensity);
    if (at[FOG_COLOR] >= 0) {
        emscripten_glUniform3f(at[FOG_COLOR], state.fogColor[0], state.fogColor[1],
                               state.fogColor[2]);
    }
    return true;
}

void WebGLRenderer::draw(PrimitiveAssembler::Kind kind, const std::vector<DrawVertex>& vertices,
                         const DrawState& state) {
    if (vertices.empty() || lost || !ready()) {
        return;
    }
    switch (kind) {
    case PrimitiveAssembler::TRIANGLES:
        drawTriangles(vertices, state);
        break;
    case PrimitiveAssembler::QUADS:
        drawQuads(FILL, vertices, state);
        break;
    case PrimitiveAssembler::LINES:
        drawLines(vertices, state);
        break;
    case PrimitiveAssembler::POINTS:
        drawPoints(vertices, state);
        break;
    case PrimitiveAssembler::INVALID:
        break;
    }
}

void WebGLRenderer::fillBuffer(const void* data, size_t size, const void* more, size_t moreSize) {
    const unsigned bytes = static_cast<unsigned>(size + moreSize);
    if (bytes > bufferBytes) {
        bufferBytes = bytes;
        emscripten_glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
    }
    if (size) {
        emscripten_glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(size), data);
    }
    if (moreSize) {
        emscripten_glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(size),
                                   static_cast<GLsizeiptr>(moreSize), more);
    }
}

void WebGLRenderer::drawArrays(Shape shape, size_t first, size_t count, const DrawState& state) {
    if (count == 0 || !useProgram(shape, state)) {
        return;
    }
    if (shape == THIN_LINES) {
        pointThinAttributes();
    } else {
        pointAttributes(0);
    }
    emscripten_glDrawArrays(shape == POINTS ? GL_POINTS : GL_TRIANGLES, static_cast<GLint>(first),
                            static_cast<GLsizei>(count));
}

// Triangles wholly where linear fog leaves the colour as it is go last, drawn without fog.
void WebGLRenderer::drawTriangles(const std::vector<DrawVertex>& vertices, const DrawState& state) {
    fogSkip.split(vertices, 3, state, runs);
    if (runs.size() == 1) { // all alike: drawn from the batch's own vertices
        fillBuffer(vertices.data(), vertices.size() * sizeof(DrawVertex));
        drawArrays(FILL, 0, vertices.size(), runs[0].clear ? withoutFog(state) : state);
        return;
    }
    fogged.clear();
    unfogged.clear();
    for (const FogSkip::Run& run : runs) {
        std::vector<DrawVertex>& into = run.clear ? unfogged : fogged;
        into.insert(into.end(), &vertices[run.first], &vertices[run.first] + run.count);
    }
    fillBuffer(fogged.data(), fogged.size() * sizeof(DrawVertex), unfogged.data(),
               unfogged.size() * sizeof(DrawVertex));
    drawArrays(FILL, 0, fogged.size(), state);
    drawArrays(FILL, fogged.size(), unfogged.size(), withoutFog(state));
}

void WebGLRenderer::drawQuads(Shape shape, const std::vector<DrawVertex>& corners,
                              const DrawState& state) {
    fillBuffer(corners.data(), corners.size() * sizeof(DrawVertex));
    if (!useProgram(shape, state)) {
        return;
    }
    const size_t quads = corners.size() / 4;
    for (size_t first = 0; first < quads; first += QUADS_A_CALL) {
        const size_t count = quads - first < QUADS_A_CALL ? quads - first : QUADS_A_CALL;
        pointAttributes(first * 4);
        emscripten_glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count * 6), GL_UNSIGNED_SHORT,
                                  nullptr);
    }
}

void WebGLRenderer::drawLines(const std::vector<DrawVertex>& ends, const DrawState& state) {
    // Lines are never culled, whichever way their quads and triangles turn.
    if (state.culling) {
        emscripten_glDisable(GL_CULL_FACE);
    }
    if (aliasedLineWidth(state.lineWidth) == 1.0f) {
        drawThinLines(ends, state);
    } else {
        drawWideLines(ends, state);
    }
    if (state.culling) {
        emscripten_glEnable(GL_CULL_FACE);
    }
}

void WebGLRenderer::drawPoints(const std::vector<DrawVertex>& vertices, const DrawState& state) {
    fillBuffer(vertices.data(), vertices.size() * sizeof(DrawVertex));
    drawArrays(POINTS, 0, vertices.size(), state);
}

// A wide line's quad: both ends move to the same side, so the quad never twists; the end's
// corners carry a side of magnitude 2, the start's of 1.
void WebGLRenderer::drawWideLines(const std::vector<DrawVertex>& ends, const DrawState& state) {
    wide.clear();
    for (size_t i = 0; i + 2 <= ends.size(); i += 2) {
        static const float SIDES[4] = {-1.0f, 1.0f, 2.0f, -2.0f};
        for (int c = 0; c < 4; ++c) {
            wide.push_back(ends[i + c / 2]);
            wide.back().side = SIDES[c];
        }
    }
    drawQuads(WIDE_LINES, wide, state);
}

// Segments wholly where linear fog leaves the colour as it is go last, drawn without fog.
void WebGLRenderer::drawThinLines(const std::vector<DrawVertex>& ends, const DrawState& state) {
    const float viewport[4] = {state.viewportX, state.viewportY, state.viewportWidth,
                               state.viewportHeight};
    fogSkip.split(ends, 2, state, runs);
    thin.clear();
    thinUnfogged.clear();
    for (const FogSkip::Run& run : runs) {
        ThinLines::build(&ends[run.first], run.count, state.modelview, state.projection, viewport,
                         run.clear ? thinUnfogged : thin);
    }
    fillBuffer(thin.data(), thin.size() * sizeof(ThinLineVertex), thinUnfogged.data(),
               thinUnfogged.size() * sizeof(ThinLineVertex));
    drawArrays(THIN_LINES, 0, thin.size(), state);
    drawArrays(THIN_LINES, thin.size(), thinUnfogged.size(), withoutFog(state));
}

void WebGLRenderer::upload(const std::vector<MipmapChain::Level>& levels) {
    ContextCopy::Texture* t = kept.texture(kept.bound);
    if (t) {
        t->levels = levels;
        tellKeptBytes(kept.bytes());
    }
    put(levels);
}

void WebGLRenderer::put(const std::vector<MipmapChain::Level>& levels) {
    for (size_t i = 0; i < levels.size(); ++i) {
        const MipmapChain::Level& level = levels[i];
        emscripten_glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), GL_RGBA, level.width,
                                level.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, level.rgba.data());
    }
}
