// The fixed-function pipeline the demo uses, as GLSL ES programs over WebGL.
#include "WebGLRenderer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>

#include <webgl/webgl1.h>

namespace {

enum Attribute { POSITION, OTHER, SIDE, COLOR, TEXCOORD };

// Lines are quads. Wider ones follow OpenGL's rule for aliased lines: an x-major segment grows
// vertically, a y-major one horizontally, by half the width each way. One-pixel lines, most of
// the demo's, are quads a pixel larger all round whose fragment shader keeps exactly the pixels
// desktop OpenGL draws (the rasteriser's own rounding at a quad's edges would pick rows and end
// pixels of its own); their window-space ends are taken to 1/256 of a pixel, as the desktop's
// rasteriser takes them. An end behind the near plane moves along the segment onto it first, so
// the window-space direction stays the visible part's. Points snap as aliased points do. Widths
// and sizes arrive in whole pixels. One-pixel lines have a program of their own (THIN_LINES), so
// that everything else is filled without their per-pixel test.
const char* VERTEX_SHADER = R"(
attribute vec3 a_position;
attribute vec3 a_other;
attribute float a_side;
attribute vec4 a_color;
attribute vec2 a_texcoord;
uniform mat4 u_projection;
uniform mat4 u_modelview;
uniform vec2 u_origin;
uniform vec2 u_viewport;
uniform float u_lineWidth;
uniform float u_pointSize;
uniform bool u_points;
varying vec4 v_color;
varying vec2 v_texcoord;
varying float v_fogDepth;
vec2 toWindow(vec4 clip) {
    vec2 window = u_origin + (clip.xy / clip.w * 0.5 + 0.5) * u_viewport;
#ifdef THIN_LINES
    return floor(window * 256.0 + 0.5) / 256.0;
#else
    return window;
#endif
}
#ifdef THIN_LINES
varying vec4 v_line;
varying vec2 v_span;
varying float v_xMajor;
// Where a one-pixel line's pixels start or stop along its major axis, by the diamond-exit rule:
// the end's pixel is drawn when the segment leaves that pixel's diamond (|dx| + |dy| < 1/2 about
// its centre): a start inside it, or short of its centre with the line passing through it; an
// end beyond it. The answer is the edge of the pixel's column that takes it in or leaves it out.
float diamondEdge(vec2 own, vec2 far, bool isEnd) {
    vec2 d = isEnd ? own - far : far - own;
    bool xMajor = abs(d.x) >= abs(d.y);
    vec2 p = xMajor ? own : own.yx;
    vec2 dm = xMajor ? d : d.yx;
    float slope = dm.x != 0.0 ? dm.y / dm.x : 0.0;
    float forward = dm.x >= 0.0 ? 1.0 : -1.0;
    vec2 off = fract(p) - 0.5;
    bool inside = abs(off.x) + abs(off.y) < 0.5;
    bool through = abs(p.y - off.x * slope - floor(p.y) - 0.5) < 0.5;
    bool drawn = isEnd ? !inside && off.x * forward > 0.0 && through
                       : inside || (off.x * forward < 0.0 && through);
    // Going forward, the pixels run from the start's edge up to the end's.
    bool low = (forward > 0.0) == (isEnd != drawn);
    return floor(p.x) + (low ? 0.0 : 1.0);
}
#endif
void main() {
    vec4 eye = u_modelview * vec4(a_position, 1.0);
    vec4 clip = u_projection * eye;
    v_color = a_color;
    v_texcoord = a_texcoord;
    gl_PointSize = u_pointSize;
    if (u_lineWidth > 0.0) {
        vec4 otherEye = u_modelview * vec4(a_other, 1.0);
        vec4 other = u_projection * otherEye;
        float d = clip.z + clip.w;
        float dOther = other.z + other.w;
        if (d < 0.0 && dOther < 0.0) {
            gl_Position = vec4(2.0, 2.0, 2.0, 1.0);
            v_fogDepth = 0.0;
            return;
        }
        if (d < 0.0) {
            float t = d / (d - dOther);
            clip = mix(clip, other, t);
            eye = mix(eye, otherEye, t);
        } else if (dOther < 0.0) {
            other = mix(other, clip, dOther / (dOther - d));
        }
        bool isEnd = abs(a_side) > 1.5;
        vec2 own = toWindow(clip);
        vec2 far = toWindow(other);
        vec2 start = isEnd ? far : own;
        vec2 end = isEnd ? own : far;
        vec2 dir = end - start;
        bool xMajor = abs(dir.x) >= abs(dir.y);
        vec2 across = xMajor ? vec2(0.0, 1.0) : vec2(1.0, 0.0);
        vec2 window = own + across * sign(a_side) * u_lineWidth * 0.5;
#ifdef THIN_LINES
        {
            // The fragment shader reads the line along its major axis first.
            v_line = xMajor ? vec4(start, end) : vec4(start.yx, end.yx);
            v_xMajor = xMajor ? 1.0 : 0.0;
            v_span = vec2(diamondEdge(start, end, false), diamondEdge(end, start, true));
            // The pixels the fragment shader chooses from: their centres lie up to half a
            // pixel past an end along the major axis and half a pixel to a side; a quarter
            // more keeps them clear of the rasteriser's own rounding at the quad's edges.
            float major = xMajor ? abs(dir.x) : abs(dir.y);
            vec2 step = major > 0.0 ? dir / major : vec2(1.0, 0.0);
            window += step * (isEnd ? 0.75 : -0.75) + across * sign(a_side) * 0.25;
        }
#endif
        clip.xy = ((window - u_origin) / u_viewport * 2.0 - 1.0) * clip.w;
    }
    if (u_points) {
        // Aliased points: an odd size centres on a pixel, an even one on a pixel corner.
        vec2 window = (clip.xy / clip.w * 0.5 + 0.5) * u_viewport;
        window = mod(u_pointSize, 2.0) == 1.0 ? floor(window) + 0.5 : floor(window + 0.5);
        clip.xy = (window / u_viewport * 2.0 - 1.0) * clip.w;
    }
    v_fogDepth = abs(eye.z);
    gl_Position = clip;
}
)";

// Modulate: the texel times the vertex colour; fog mixes the colour, never the alpha.
const char* FRAGMENT_SHADER = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D u_texture;
uniform bool u_texturing;
uniform int u_fogMode;
uniform float u_fogStart;
uniform float u_fogScale;
uniform float u_fogDensity;
uniform vec3 u_fogColor;
varying vec4 v_color;
varying vec2 v_texcoord;
varying float v_fogDepth;
#ifdef THIN_LINES
varying vec4 v_line;
varying vec2 v_span;
varying float v_xMajor;
#endif
void main() {
#ifdef THIN_LINES
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
    if (u_texturing) {
        color *= texture2D(u_texture, v_texcoord);
    }
    if (u_fogMode != 0) {
        float f;
        if (u_fogMode == 1) {
            f = 1.0 - (v_fogDepth - u_fogStart) * u_fogScale;
        } else if (u_fogMode == 2) {
            f = exp(-u_fogDensity * v_fogDepth);
        } else {
            float e = u_fogDensity * v_fogDepth;
            f = exp(-e * e);
        }
        color.rgb = mix(u_fogColor, color.rgb, clamp(f, 0.0, 1.0));
    }
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

} // namespace

WebGLRenderer::WebGLRenderer()
    : current(nullptr), buffer(0), quadIndices(0), bufferBytes(0), failed(false) {}

WebGLRenderer::~WebGLRenderer() {
    if (quadIndices) {
        emscripten_glDeleteBuffers(1, &quadIndices);
    }
    if (buffer) {
        emscripten_glDeleteBuffers(1, &buffer);
    }
    for (Program* each : {&fill, &thinLines}) {
        if (each->id) {
            emscripten_glDeleteProgram(each->id);
        }
    }
}

bool WebGLRenderer::build(Program& built, const char* defines) {
    const GLuint vertex = compile(GL_VERTEX_SHADER, defines, VERTEX_SHADER);
    const GLuint fragment = compile(GL_FRAGMENT_SHADER, defines, FRAGMENT_SHADER);
    const GLuint program = emscripten_glCreateProgram();
    built.id = program;
    emscripten_glAttachShader(program, vertex);
    emscripten_glAttachShader(program, fragment);
    const char* names[] = {"a_position", "a_other", "a_side", "a_color", "a_texcoord"};
    for (GLuint i = 0; i < 5; ++i) {
        emscripten_glBindAttribLocation(program, i, names[i]);
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
        "u_projection", "u_modelview",  "u_origin",  "u_viewport", "u_lineWidth",
        "u_pointSize",  "u_texturing",  "u_points",  "u_fogMode",  "u_fogStart",
        "u_fogScale",   "u_fogDensity", "u_fogColor"};
    for (int i = 0; i < UNIFORM_COUNT; ++i) {
        built.at[i] = emscripten_glGetUniformLocation(program, NAMES[i]);
    }
    emscripten_glUniform1i(emscripten_glGetUniformLocation(program, "u_texture"), 0);
    return true;
}

bool WebGLRenderer::setUp() {
    if (!build(thinLines, "#define THIN_LINES\n") || !build(fill, "")) {
        return false;
    }
    current = &fill;

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

} // namespace

void WebGLRenderer::setUniforms(PrimitiveAssembler::Kind kind, const DrawState& state) {
    const float lineWidth =
        kind == PrimitiveAssembler::LINES ? aliasedLineWidth(state.lineWidth) : 0.0f;
    Program* wanted = lineWidth == 1.0f ? &thinLines : &fill;
    if (wanted != current) {
        current = wanted;
        emscripten_glUseProgram(current->id);
    }
    const Program& p = *current;
    emscripten_glUniformMatrix4fv(p.at[PROJECTION], 1, GL_FALSE, state.projection.m);
    emscripten_glUniformMatrix4fv(p.at[MODELVIEW], 1, GL_FALSE, state.modelview.m);
    emscripten_glUniform2f(p.at[ORIGIN], state.viewportX, state.viewportY);
    emscripten_glUniform2f(p.at[VIEWPORT], state.viewportWidth, state.viewportHeight);
    emscripten_glUniform1f(p.at[LINE_WIDTH], lineWidth);
    emscripten_glUniform1f(p.at[POINT_SIZE], aliasedPointSize(state.pointSize));
    emscripten_glUniform1i(p.at[POINTS], kind == PrimitiveAssembler::POINTS ? 1 : 0);
    emscripten_glUniform1i(p.at[TEXTURING], state.texturing ? 1 : 0);
    emscripten_glUniform1i(p.at[FOG_MODE], state.fogMode);
    emscripten_glUniform1f(p.at[FOG_START], state.fogStart);
    emscripten_glUniform1f(p.at[FOG_SCALE], state.fogScale);
    emscripten_glUniform1f(p.at[FOG_DENSITY], state.fogDensity);
    emscripten_glUniform3f(p.at[FOG_COLOR], state.fogColor[0], state.fogColor[1],
                           state.fogColor[2]);
}

void WebGLRenderer::draw(PrimitiveAssembler::Kind kind, const std::vector<DrawVertex>& vertices,
                         const DrawState& state) {
    if (vertices.empty() || failed) {
        return;
    }
    if (!current && !setUp()) {
        failed = true;
        return;
    }
    const unsigned bytes = static_cast<unsigned>(vertices.size() * sizeof(DrawVertex));
    if (bytes > bufferBytes) {
        bufferBytes = bytes;
        emscripten_glBufferData(GL_ARRAY_BUFFER, bytes, vertices.data(), GL_STREAM_DRAW);
    } else {
        emscripten_glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices.data());
    }
    setUniforms(kind, state);
    const bool uncull = kind == PrimitiveAssembler::LINES && state.culling;
    if (uncull) {
        emscripten_glDisable(GL_CULL_FACE);
    }
    if (kind == PrimitiveAssembler::QUADS || kind == PrimitiveAssembler::LINES) {
        const size_t quads = vertices.size() / 4;
        for (size_t first = 0; first < quads; first += QUADS_A_CALL) {
            const size_t count = quads - first < QUADS_A_CALL ? quads - first : QUADS_A_CALL;
            pointAttributes(first * 4);
            emscripten_glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count * 6),
                                      GL_UNSIGNED_SHORT, nullptr);
        }
    } else {
        pointAttributes(0);
        emscripten_glDrawArrays(kind == PrimitiveAssembler::POINTS ? GL_POINTS : GL_TRIANGLES, 0,
                                static_cast<GLsizei>(vertices.size()));
    }
    if (uncull) {
        emscripten_glEnable(GL_CULL_FACE);
    }
}

void WebGLRenderer::upload(const std::vector<MipmapChain::Level>& levels) {
    for (size_t i = 0; i < levels.size(); ++i) {
        const MipmapChain::Level& level = levels[i];
        emscripten_glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(i), GL_RGBA, level.width,
                                level.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, level.rgba.data());
    }
}
