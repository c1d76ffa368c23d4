// The frame's colour conversion as two shader passes into single-channel framebuffers.
#define GL_GLEXT_PROTOTYPES
#include "YuvConverter.h"

#include <GL/glext.h>

#include <cmath>
#include <cstdio>

namespace {

// One luma level a pixel: the frame's pixel as it is.
const char* const LUMA = R"(#version 130
uniform sampler2D frame;
uniform vec3 weights;
void main() {
    vec3 rgb = texelFetch(frame, ivec2(gl_FragCoord.xy), 0).rgb;
    gl_FragColor = vec4(floor(16.0 + 219.0 * dot(weights, rgb) + 0.5) / 255.0);
}
)";

// U and V of a 2 x 2 block: the pairs across averaged, then 8 rows around the block's centre
// weighted by taps (by distance: 0.5, 1.5, 2.5, 3.5 rows), rows beyond the frame repeating its
// edge rows.
const char* const CHROMA = R"(#version 130
uniform sampler2D frame;
uniform int lastRow;
uniform float taps[4];
uniform vec3 blue;
uniform vec3 red;
void main() {
    ivec2 block = ivec2(gl_FragCoord.xy) * 2;
    vec3 sum = vec3(0.0);
    for (int t = 0; t < 8; ++t) {
        int row = clamp(block.y - 3 + t, 0, lastRow);
        vec3 pair = texelFetch(frame, ivec2(block.x, row), 0).rgb +
                    texelFetch(frame, ivec2(block.x + 1, row), 0).rgb;
        sum += taps[t < 4 ? 3 - t : t - 4] * pair;
    }
    sum *= 0.5;
    gl_FragData[0] = vec4(clamp(floor(128.0 + 224.0 * dot(blue, sum) + 0.5), 0.0, 255.0) / 255.0);
    gl_FragData[1] = vec4(clamp(floor(128.0 + 224.0 * dot(red, sum) + 0.5), 0.0, 255.0) / 255.0);
}
)";

// The scaler's bicubic (B = 0, C = 0.6) stretched to twice its width, for a halving.
float halvingTap(float distance) {
    const float x = distance / 2.0f;
    const float k = x < 1.0f ? 1.4f * x * x * x - 2.4f * x * x + 1.0f
                             : -0.6f * x * x * x + 3.0f * x * x - 4.8f * x + 2.4f;
    return k / 2.0f;
}

void clearErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// A full-target quad with identity matrices; the caller has set the viewport.
void drawQuad() {
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
}

} // namespace

YuvConverter::YuvConverter()
    : width(0), height(0), sourceTexture(0), sourceFbo(0), lumaFbo(0), lumaColour(0),
      chromaFbo(0), chromaColour{0, 0}, lumaProgram(0), chromaProgram(0) {}

YuvConverter::~YuvConverter() {
    destroy();
}

size_t YuvConverter::bytesOf(int w, int h) {
    return static_cast<size_t>(w) * h + 2 * (static_cast<size_t>(w / 2) * (h / 2));
}

size_t YuvConverter::bytes() const {
    return bytesOf(width, height);
}

bool YuvConverter::buildProgram(GLuint& into, const char* source, std::string& error) {
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    into = glCreateProgram();
    glAttachShader(into, shader);
    glLinkProgram(into);
    glDeleteShader(shader); // freed with the program
    GLint linked = GL_FALSE;
    glGetProgramiv(into, GL_LINK_STATUS, &linked);
    if (!linked || glGetError() != GL_NO_ERROR) {
        char log[256] = "";
        glGetProgramInfoLog(into, sizeof(log), nullptr, log);
        error = std::string("the driver cannot build the colour conversion: ") + log;
        return false;
    }
    return true;
}

bool YuvConverter::buildPlanes(GLuint& fbo, GLuint* colours, int count, int w, int h,
                               std::string& error) {
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glGenRenderbuffers(count, colours);
    for (int i = 0; i < count; ++i) {
        glBindRenderbuffer(GL_RENDERBUFFER, colours[i]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_R8, w, h);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_RENDERBUFFER,
                                  colours[i]);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    const GLenum glError = glGetError();
    if (status != GL_FRAMEBUFFER_COMPLETE || glError != GL_NO_ERROR) {
        char reason[128];
        snprintf(reason, sizeof(reason),
                 "the driver cannot hold the colour planes of %dx%d (status 0x%04x, error 0x%04x)",
                 w, h, status, glError);
        error = reason;
        return false;
    }
    return true;
}

bool YuvConverter::create(int newWidth, int newHeight, float kr, float kb, std::string& error) {
    destroy();
    width = newWidth;
    height = newHeight;
    GLint drawBinding = 0;
    GLint readBinding = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawBinding);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readBinding);
    clearErrors();

    glGenTextures(1, &sourceTexture);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &sourceFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, sourceFbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, sourceTexture, 0);

    bool ok = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    if (!ok) {
        error = "the driver cannot hold a copy of the frame for the colour conversion";
    }
    ok = ok && buildPlanes(lumaFbo, &lumaColour, 1, width, height, error) &&
         buildPlanes(chromaFbo, chromaColour, 2, width / 2, height / 2, error) &&
         buildProgram(lumaProgram, LUMA, error) && buildProgram(chromaProgram, CHROMA, error);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawBinding));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readBinding));
    if (!ok) {
        destroy();
        return false;
    }

    const float kg = 1.0f - kr - kb;
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    glUseProgram(lumaProgram);
    glUniform1i(glGetUniformLocation(lumaProgram, "frame"), 0);
    glUniform3f(glGetUniformLocation(lumaProgram, "weights"), kr, kg, kb);
    glUseProgram(chromaProgram);
    glUniform1i(glGetUniformLocation(chromaProgram, "frame"), 0);
    glUniform1i(glGetUniformLocation(chromaProgram, "lastRow"), height - 1);
    const float taps[4] = {halvingTap(0.5f), halvingTap(1.5f), halvingTap(2.5f), halvingTap(3.5f)};
    glUniform1fv(glGetUniformLocation(chromaProgram, "taps"), 4, taps);
    // B - Y and R - Y, each scaled to span -0.5 to 0.5.
    const float blueScale = 0.5f / (1.0f - kb);
    const float redScale = 0.5f / (1.0f - kr);
    glUniform3f(glGetUniformLocation(chromaProgram, "blue"), -kr * blueScale, -kg * blueScale,
                (1.0f - kb) * blueScale);
    glUniform3f(glGetUniformLocation(chromaProgram, "red"), (1.0f - kr) * redScale, -kg * redScale,
                -kb * redScale);
    glUseProgram(static_cast<GLuint>(program));
    return true;
}

void YuvConverter::convert(GLuint frameFbo) {
    GLint drawBinding = 0;
    GLint readBinding = 0;
    GLint program = 0;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &drawBinding);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readBinding);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    // Everything the passes change comes back: the scenes set much of their state once only.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLenum off[] = {GL_DEPTH_TEST, GL_CULL_FACE,    GL_BLEND,      GL_SCISSOR_TEST, GL_FOG,
                          GL_ALPHA_TEST, GL_STENCIL_TEST, GL_TEXTURE_2D, GL_DITHER};
    for (GLenum capability : off) {
        glDisable(capability);
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    // A framebuffer's renderbuffer cannot be sampled: the frame is copied into a texture.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frameFbo);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, sourceFbo);
    glBlitFramebuffer(0, 0, width, height, 0, 0, width, height, GL_COLOR_BUFFER_BIT, GL_NEAREST);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, sourceTexture);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, lumaFbo);
    glViewport(0, 0, width, height);
    glUseProgram(lumaProgram);
    drawQuad();

    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, chromaFbo);
    const GLenum both[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, both);
    glViewport(0, 0, width / 2, height / 2);
    glUseProgram(chromaProgram);
    drawQuad();

    glUseProgram(static_cast<GLuint>(program));
    // Bound back before the attributes come back, which restore the bound one's draw buffers.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(drawBinding));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readBinding));
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib(); // the texture binding, the matrix mode, the viewport, the enables, the masks
}

void YuvConverter::read(uint8_t* into) {
    GLint readBinding = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readBinding);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    // Row 0 of each plane is the frame's top row: read in order, the planes are top first.
    const size_t lumaBytes = static_cast<size_t>(width) * height;
    const size_t chromaBytes = static_cast<size_t>(width / 2) * (height / 2);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, lumaFbo);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glReadPixels(0, 0, width, height, GL_RED, GL_UNSIGNED_BYTE, into);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, chromaFbo);
    for (int plane = 0; plane < 2; ++plane) {
        glReadBuffer(GL_COLOR_ATTACHMENT0 + plane);
        glReadPixels(0, 0, width / 2, height / 2, GL_RED, GL_UNSIGNED_BYTE,
                     into + lumaBytes + plane * chromaBytes);
    }
    glPopClientAttrib();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readBinding));
}

void YuvConverter::destroy() {
    if (!sourceTexture && !sourceFbo && !lumaFbo && !chromaFbo) {
        return; // nothing built, perhaps no context at all
    }
    if (lumaProgram) {
        glDeleteProgram(lumaProgram);
    }
    if (chromaProgram) {
        glDeleteProgram(chromaProgram);
    }
    glDeleteFramebuffers(1, &chromaFbo);
    glDeleteRenderbuffers(2, chromaColour);
    glDeleteFramebuffers(1, &lumaFbo);
    glDeleteRenderbuffers(1, &lumaColour);
    glDeleteFramebuffers(1, &sourceFbo);
    glDeleteTextures(1, &sourceTexture);
    sourceTexture = sourceFbo = lumaFbo = lumaColour = chromaFbo = 0;
    chromaColour[0] = chromaColour[1] = 0;
    lumaProgram = chromaProgram = 0;
}
