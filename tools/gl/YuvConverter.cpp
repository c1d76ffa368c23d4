// The frame's colour conversion as two shader passes, each plane packed into its texels.
// First, before any OpenGL header: it chooses how the calls past OpenGL 1.1 are declared.
#include "gl/GLEntryPoints.h"
#include "gl/YuvConverter.h"

#include "gl/FragmentProgram.h"
#include "gl/GLStateScope.h"

#include <cstdio>
#include <cstring>

namespace {

// Eight pixels across a fragment, fetched as two texels of the frame's copy (four words each):
// their eight luma levels as bytes, and the U and V of their four pairs (each the pair's sum,
// before the filter down the rows) as 16-bit fixed point.
const char* const LUMA = R"(#version 140
uniform usamplerBuffer frame;
uniform int rowTexels;
uniform vec3 weights; // luma levels an RGB level
uniform vec3 blue;    // U, V of an RGB level, in 1/16384 of the full swing
uniform vec3 red;
out uvec2 luma;
out uvec4 pairs;
vec3 rgb(uint pixel) {
    return vec3(uvec3(pixel, pixel >> 8u, pixel >> 16u) & 255u);
}
// Converting a positive value to unsigned rounds it down: + 0.5 rounds to the nearest.
uint levels(mat4x3 four) {
    uvec4 l = uvec4(weights * four + 16.5);
    return l.x | (l.y << 8u) | (l.z << 16u) | (l.w << 24u);
}
uvec4 toFixed(vec4 v) {
    return uvec4(v + 32768.5);
}
void main() {
    ivec2 p = ivec2(gl_FragCoord.xy);
    int i = p.y * rowTexels + p.x * 2;
    uvec4 a = texelFetch(frame, i);
    uvec4 b = texelFetch(frame, i + 1);
    mat4x3 left = mat4x3(rgb(a.x), rgb(a.y), rgb(a.z), rgb(a.w));
    mat4x3 right = mat4x3(rgb(b.x), rgb(b.y), rgb(b.z), rgb(b.w));
    luma = uvec2(levels(left), levels(right));
    mat4x3 sums = mat4x3(left[0] + left[1], left[2] + left[3], right[0] + right[1],
                         right[2] + right[3]);
    pairs = toFixed(blue * sums) | (toFixed(red * sums) << 16u);
}
)";

// Four chroma samples across a fragment, from the four pairs above them: filtered down 8 rows
// around the block's centre weighted by distance (taps: 0.5, 1.5, 2.5, 3.5 rows); rows beyond
// the frame repeat its edge rows.
const char* const CHROMA = R"(#version 140
uniform usampler2D pairs;
uniform int lastRow;
uniform vec4 taps;
vec4 u;
vec4 v;
void add(float weight, int y) {
    uvec4 four = texelFetch(pairs, ivec2(int(gl_FragCoord.x), clamp(y, 0, lastRow)), 0);
    u += weight * vec4(four & 65535u);
    v += weight * vec4(four >> 16u);
}
// The taps add up to 1: the fixed point's offset comes off once, after the filter.
vec4 level(vec4 c) {
    return clamp(floor(128.0 + 112.0 / 16384.0 * (c - 32768.0) + 0.5), 0.0, 255.0) / 255.0;
}
void main() {
    int y = int(gl_FragCoord.y) * 2;
    u = vec4(0.0);
    v = vec4(0.0);
    add(taps.w, y - 3);
    add(taps.z, y - 2);
    add(taps.y, y - 1);
    add(taps.x, y);
    add(taps.x, y + 1);
    add(taps.y, y + 2);
    add(taps.z, y + 3);
    add(taps.w, y + 4);
    gl_FragData[0] = level(u);
    gl_FragData[1] = level(v);
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

// The framebuffers bound for drawing and reading and the program in use, bound again when it
// goes: the caller's are left as they were.
class BoundTargets {
  public:
    BoundTargets() {
        glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &draw);
        glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &read);
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    }
    ~BoundTargets() {
        glUseProgram(static_cast<GLuint>(program));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, static_cast<GLuint>(draw));
        glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(read));
    }
    BoundTargets(const BoundTargets&) = delete;
    BoundTargets& operator=(const BoundTargets&) = delete;

  private:
    GLint draw = 0;
    GLint read = 0;
    GLint program = 0;
};

} // namespace

YuvConverter::YuvConverter()
    : width(0), height(0), sourceBuffer(0), sourceTexture(0), lumaFbo(0), lumaColour(0),
      chromaFbo(0), chromaColour{0, 0}, lumaProgram(0), chromaProgram(0), padded() {}

YuvConverter::~YuvConverter() {
    destroy();
}

size_t YuvConverter::bytesOf(int w, int h) {
    return static_cast<size_t>(w) * h + 2 * (static_cast<size_t>(w / 2) * (h / 2));
}

size_t YuvConverter::bytes() const {
    return bytesOf(width, height);
}

int YuvConverter::chromaColumns() const {
    return (width + 7) / 8;
}

bool YuvConverter::complete(std::string& error) {
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    const GLenum glError = glGetError();
    if (status == GL_FRAMEBUFFER_COMPLETE && glError == GL_NO_ERROR) {
        return true;
    }
    char reason[128];
    snprintf(reason, sizeof(reason),
             "the driver cannot hold the colour planes of %dx%d (status 0x%04x, error 0x%04x)",
             width, height, status, glError);
    error = reason;
    return false;
}

bool YuvConverter::buildTargets(std::string& error) {
    // The frame, copied where the first pass fetches four pixels at once, its rows padded to
    // whole texels.
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_BUFFER_SIZE, &largest);
    if (static_cast<long long>(chromaColumns() * 2) * height > largest) {
        error = "the driver cannot hold a copy of the frame for the colour conversion";
        return false;
    }
    glGenBuffers(1, &sourceBuffer);
    glBindBuffer(GL_TEXTURE_BUFFER, sourceBuffer);
    glBufferData(GL_TEXTURE_BUFFER, static_cast<GLsizeiptr>(chromaColumns() * 2) * 16 * height,
                 nullptr, GL_STREAM_COPY);
    glGenTextures(1, &sourceTexture);
    glBindTexture(GL_TEXTURE_BUFFER, sourceTexture);
    glTexBuffer(GL_TEXTURE_BUFFER, GL_RGBA32UI, sourceBuffer);
    glBindTexture(GL_TEXTURE_BUFFER, 0);
    glBindBuffer(GL_TEXTURE_BUFFER, 0);
    // Eight luma levels a texel, and the pairs of the same pixels for the second pass.
    glGenRenderbuffers(1, &lumaColour);
    glBindRenderbuffer(GL_RENDERBUFFER, lumaColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RG32UI, chromaColumns(), height);
    glGenTextures(1, &pairsTexture);
    glBindTexture(GL_TEXTURE_2D, pairsTexture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32UI, chromaColumns(), height, 0, GL_RGBA_INTEGER,
                 GL_UNSIGNED_INT, nullptr);
    // No mipmaps: complete with its one level, which the second pass fetches texel by texel.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &lumaFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, lumaFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, lumaColour);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT1, GL_TEXTURE_2D, pairsTexture, 0);
    const GLenum both[] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, both);
    if (!complete(error)) {
        return false;
    }
    // U and V, four samples a texel each.
    glGenRenderbuffers(2, chromaColour);
    glGenFramebuffers(1, &chromaFbo);
    glBindFramebuffer(GL_FRAMEBUFFER, chromaFbo);
    for (int i = 0; i < 2; ++i) {
        glBindRenderbuffer(GL_RENDERBUFFER, chromaColour[i]);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, chromaColumns(), height / 2);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_RENDERBUFFER,
                                  chromaColour[i]);
    }
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glDrawBuffers(2, both);
    return complete(error);
}

bool YuvConverter::create(int newWidth, int newHeight, float kr, float kb, std::string& error) {
    if (!GLEntryPoints::load(error)) {
        return false;
    }
    destroy();
    width = newWidth;
    height = newHeight;
    const BoundTargets bound;
    clearErrors();
    static const char* const OUTPUTS[] = {"luma", "pairs"};
    const char* const what = "the colour conversion";
    const bool ok = buildTargets(error) &&
                    FragmentProgram::build(LUMA, OUTPUTS, 2, what, lumaProgram, error) &&
                    FragmentProgram::build(CHROMA, OUTPUTS, 2, what, chromaProgram, error);
    if (!ok) {
        destroy();
        return false;
    }

    const float kg = 1.0f - kr - kb;
    // Luma spans 219 levels; B - Y and R - Y, each scaled to span -0.5 to 0.5, are kept in
    // 1/16384 steps: for an RGB level (0 to 255) in, all scaled by 1/255.
    const float lumaScale = 219.0f / 255.0f;
    const float blueScale = 0.5f / (1.0f - kb) * 16384.0f / 255.0f;
    const float redScale = 0.5f / (1.0f - kr) * 16384.0f / 255.0f;
    glUseProgram(lumaProgram);
    glUniform1i(glGetUniformLocation(lumaProgram, "frame"), 0);
    glUniform1i(glGetUniformLocation(lumaProgram, "rowTexels"), chromaColumns() * 2);
    glUniform3f(glGetUniformLocation(lumaProgram, "weights"), kr * lumaScale, kg * lumaScale,
                kb * lumaScale);
    glUniform3f(glGetUniformLocation(lumaProgram, "blue"), -kr * blueScale, -kg * blueScale,
                (1.0f - kb) * blueScale);
    glUniform3f(glGetUniformLocation(lumaProgram, "red"), (1.0f - kr) * redScale, -kg * redScale,
                -kb * redScale);
    glUseProgram(chromaProgram);
    glUniform1i(glGetUniformLocation(chromaProgram, "pairs"), 0);
    glUniform1i(glGetUniformLocation(chromaProgram, "lastRow"), height - 1);
    glUniform4f(glGetUniformLocation(chromaProgram, "taps"), halvingTap(0.5f), halvingTap(1.5f),
                halvingTap(2.5f), halvingTap(3.5f));
    return true;
}

void YuvConverter::convert(GLuint frameFbo) {
    const GLStateScope saved; // the viewport, the texture binding, the pixel store come back
    // Bound back before the attributes come back, which restore the bound one's draw buffers.
    const BoundTargets bound;

    // The frame's rows, top first, into the buffer the first pass fetches from.
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frameFbo);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, chromaColumns() * 2 * 4);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, sourceBuffer);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_BUFFER, sourceTexture);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, lumaFbo);
    glViewport(0, 0, chromaColumns(), height);
    glUseProgram(lumaProgram);
    FragmentProgram::drawOverViewport();
    glBindTexture(GL_TEXTURE_BUFFER, 0);

    glBindTexture(GL_TEXTURE_2D, pairsTexture);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, chromaFbo);
    glViewport(0, 0, chromaColumns(), height / 2);
    glUseProgram(chromaProgram);
    FragmentProgram::drawOverViewport();
}

void YuvConverter::readPlane(GLenum format, GLenum type, int texelBytes, int columns, int rows,
                             int rowBytes, uint8_t* into) {
    const int readBytes = columns * texelBytes;
    if (readBytes == rowBytes) {
        glReadPixels(0, 0, columns, rows, format, type, into);
        return;
    }
    // A width the texels do not divide: the plane's rows without the padding at their ends.
    padded.resize(static_cast<size_t>(readBytes) * rows);
    glReadPixels(0, 0, columns, rows, format, type, padded.data());
    for (int y = 0; y < rows; ++y) {
        memcpy(into + static_cast<size_t>(y) * rowBytes,
               &padded[static_cast<size_t>(y) * readBytes], static_cast<size_t>(rowBytes));
    }
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
    readPlane(GL_RG_INTEGER, GL_UNSIGNED_INT, 8, chromaColumns(), height, width, into);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, chromaFbo);
    for (int plane = 0; plane < 2; ++plane) {
        glReadBuffer(GL_COLOR_ATTACHMENT0 + plane);
        readPlane(GL_RGBA, GL_UNSIGNED_BYTE, 4, chromaColumns(), height / 2, width / 2,
                  into + lumaBytes + plane * chromaBytes);
    }
    glPopClientAttrib();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readBinding));
}

void YuvConverter::destroy() {
    if (!sourceBuffer && !sourceTexture && !lumaFbo && !chromaFbo) {
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
    glDeleteTextures(1, &pairsTexture);
    glDeleteRenderbuffers(1, &lumaColour);
    glDeleteTextures(1, &sourceTexture);
    glDeleteBuffers(1, &sourceBuffer);
    sourceBuffer = sourceTexture = lumaFbo = lumaColour = pairsTexture = chromaFbo = 0;
    chromaColour[0] = chromaColour[1] = 0;
    lumaProgram = chromaProgram = 0;
}
