// Building the capture's framebuffers within the driver's limits, and the area filter.
// First, before any OpenGL header: it chooses how the calls past OpenGL 1.1 are declared.
#include "capture/RenderTarget.h"
#include "gl/GLEntryPoints.h"

#include "gl/FragmentProgram.h"
#include "gl/GLStateScope.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Each output pixel is the mean of its factor x factor block of the picture; fixed-function
// vertices, so only the fragment stage is ours.
const char* const AREA_FILTER = R"(#version 130
uniform sampler2D picture;
uniform int factor;
uniform ivec2 origin;
void main() {
    ivec2 block = (ivec2(gl_FragCoord.xy) - origin) * factor;
    vec4 sum = vec4(0.0);
    for (int dy = 0; dy < factor; ++dy) {
        for (int dx = 0; dx < factor; ++dx) {
            sum += texelFetch(picture, block + ivec2(dx, dy), 0);
        }
    }
    gl_FragColor = sum / float(factor * factor);
}
)";

std::string sizeText(long long width, long long height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// Drops errors left by earlier calls, so the next check sees only its own.
void clearErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

// The depth and stencil format of the window the demo draws into (with the offscreen driver
// and Mesa, 16 bits of depth and no stencil). More depth bits would settle the floor's and the
// reflection's shared edges otherwise, and move pixels.
GLenum windowDepthFormat() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint depth = 0;
    GLint stencil = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    if (stencil > 0) {
        return depth > 24 ? GL_DEPTH32F_STENCIL8 : GL_DEPTH24_STENCIL8;
    }
    if (depth > 24) {
        return GL_DEPTH_COMPONENT32;
    }
    return depth > 16 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16;
}

bool hasExtension(const char* name) {
    GLint count = 0;
    glGetIntegerv(GL_NUM_EXTENSIONS, &count);
    for (GLint i = 0; i < count; ++i) {
        const GLubyte* extension = glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i));
        if (extension && strcmp(reinterpret_cast<const char*>(extension), name) == 0) {
            return true;
        }
    }
    return false;
}

GLenum attachmentOf(GLenum depthFormat) {
    return depthFormat == GL_DEPTH24_STENCIL8 || depthFormat == GL_DEPTH32F_STENCIL8
               ? GL_DEPTH_STENCIL_ATTACHMENT
               : GL_DEPTH_ATTACHMENT;
}

} // namespace

RenderTarget::RenderTarget()
    : width(0), height(0), ssaa(1), region{0, 0, 0, 0}, frameFbo(0), frameColour(0), pictureFbo(0),
      pictureColour(0), depthStencil(0), program(0), packInvert(false), filtered(false), flipRow() {
}

RenderTarget::~RenderTarget() {
    destroy();
}

GLint RenderTarget::largestSide(bool asTexture) {
    GLint renderbuffer = 0;
    GLint texture = 0;
    GLint viewport[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    GLint side = std::min(renderbuffer, std::min(viewport[0], viewport[1]));
    return asTexture ? std::min(side, texture) : side;
}

bool RenderTarget::create(int newWidth, int newHeight, int newSsaa, std::string& error) {
    destroy();
    if (!GLEntryPoints::load(error)) {
        return false;
    }
    width = newWidth;
    height = newHeight;
    ssaa = newSsaa;
    // Stored upside down (see bind): the picture's rows mirrored, so that it lands on the
    // centred region once the frame is turned over.
    const RenderScale::Region fitted = RenderScale::fit(width, height);
    region = RenderScale::Region{fitted.x, height - fitted.y - fitted.height, fitted.width,
                                 fitted.height};
    const long long drawnWidth = static_cast<long long>(region.width) * ssaa;
    const long long drawnHeight = static_cast<long long>(region.height) * ssaa;

    const GLint frameLimit = largestSide(false);
    if (width > frameLimit || height > frameLimit) {
        error = "--size " + sizeText(width, height) + " is beyond this driver's largest frame, " +
                sizeText(frameLimit, frameLimit);
        return false;
    }
    const GLint pictureLimit = largestSide(true);
    if (ssaa > 1 && (drawnWidth > pictureLimit || drawnHeight > pictureLimit)) {
        error = "--ssaa " + std::to_string(ssaa) + " draws the picture at " +
                sizeText(drawnWidth, drawnHeight) + ", beyond this driver's largest, " +
                sizeText(pictureLimit, pictureLimit);
        return false;
    }

    const GLenum depthFormat = windowDepthFormat();
    packInvert = hasExtension("GL_MESA_pack_invert");
    clearErrors();
    glGenFramebuffers(1, &frameFbo);
    glGenRenderbuffers(1, &frameColour);
    glBindRenderbuffer(GL_RENDERBUFFER, frameColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, frameFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, frameColour);

    // Depth as large as what the scenes draw into: the frame, or the supersampled picture.
    glGenRenderbuffers(1, &depthStencil);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil);
    glRenderbufferStorage(GL_RENDERBUFFER, depthFormat,
                          ssaa == 1 ? width : static_cast<GLsizei>(drawnWidth),
                          ssaa == 1 ? height : static_cast<GLsizei>(drawnHeight));
    glBindRenderbuffer(GL_RENDERBUFFER, 0);

    if (ssaa == 1) {
        // The scenes draw straight into the frame, offset to the picture's region.
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachmentOf(depthFormat), GL_RENDERBUFFER,
                                  depthStencil);
        if (!check(frameFbo, "frame", error)) {
            return false;
        }
        RenderScale::setRegion(region);
    } else {
        if (!check(frameFbo, "frame", error)) {
            return false;
        }
        glGenTextures(1, &pictureColour);
        glBindTexture(GL_TEXTURE_2D, pictureColour);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(drawnWidth),
                     static_cast<GLsizei>(drawnHeight), 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        // No mipmaps: the texture is complete with its one level, which the filter reads.
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenFramebuffers(1, &pictureFbo);
        glBindFramebuffer(GL_FRAMEBUFFER, pictureFbo);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, pictureColour,
                               0);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, attachmentOf(depthFormat), GL_RENDERBUFFER,
                                  depthStencil);
        if (!check(pictureFbo, "supersampled picture", error) || !buildDownsample(error)) {
            return false;
        }
        RenderScale::setRegion(
            RenderScale::Region{0, 0, static_cast<int>(drawnWidth), static_cast<int>(drawnHeight)});
    }

    // The bars are black from here on: nothing draws there again.
    glBindFramebuffer(GL_FRAMEBUFFER, frameFbo);
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPopAttrib();

    // Mesa draws into a window top row first and into a framebuffer object bottom row first,
    // which rounds edges and texture lookups a hair differently. With the clip origin at the
    // upper left the framebuffer object is drawn exactly as the window: the demo's own pixels,
    // upside down, turned over again when read back.
    glClipControl(GL_UPPER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    bind();
    return true;
}

bool RenderTarget::check(GLuint fbo, const char* what, std::string& error) {
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    const GLenum glError = glGetError();
    if (glError == GL_NO_ERROR && status == GL_FRAMEBUFFER_COMPLETE) {
        return true;
    }
    char reason[64];
    if (glError == GL_OUT_OF_MEMORY) {
        snprintf(reason, sizeof(reason), "out of memory");
    } else if (glError != GL_NO_ERROR) {
        snprintf(reason, sizeof(reason), "OpenGL error 0x%04x", glError);
    } else {
        snprintf(reason, sizeof(reason), "framebuffer status 0x%04x", status);
    }
    const long long w = fbo == frameFbo ? width : static_cast<long long>(region.width) * ssaa;
    const long long h = fbo == frameFbo ? height : static_cast<long long>(region.height) * ssaa;
    error = std::string("the driver cannot hold the ") + what + " of " + sizeText(w, h) + " (" +
            reason + ")";
    destroy();
    return false;
}

bool RenderTarget::buildDownsample(std::string& error) {
    if (!FragmentProgram::build(AREA_FILTER, nullptr, 0, "the area filter", program, error)) {
        destroy();
        return false;
    }
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
    glUniform1i(glGetUniformLocation(program, "factor"), ssaa);
    glUniform2i(glGetUniformLocation(program, "origin"), region.x, region.y);
    glUseProgram(0);
    return true;
}

void RenderTarget::bind() {
    filtered = false;
    glBindFramebuffer(GL_FRAMEBUFFER, ssaa > 1 ? pictureFbo : frameFbo);
    RenderScale::scissor(0, 0, RenderScale::WIDTH, RenderScale::HEIGHT);
    glEnable(GL_SCISSOR_TEST);
}

void RenderTarget::downsample() {
    glBindFramebuffer(GL_FRAMEBUFFER, frameFbo);
    const GLStateScope saved; // the texture binding, the viewport and the enables come back
    // Picture and frame are both stored upside down: block rows and pixel rows correspond.
    glViewport(region.x, region.y, region.width, region.height);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, pictureColour);
    glUseProgram(program);
    FragmentProgram::drawOverViewport();
    glUseProgram(0);
}

void RenderTarget::filter() {
    if (ssaa > 1 && !filtered) {
        downsample();
    }
    filtered = true;
}

void RenderTarget::read(uint8_t* into) {
    filter();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, frameFbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Turned over: rows bottom first, as a window's frame reads back. Mesa turns them over as
    // it reads, at no cost; elsewhere they are swapped afterwards.
    if (packInvert) {
        glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, into);
        glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
        return;
    }
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, into);
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    std::vector<uint8_t>& row = flipRow;
    row.resize(rowBytes);
    for (int y = 0; y < height / 2; ++y) {
        uint8_t* low = into + static_cast<size_t>(y) * rowBytes;
        uint8_t* high = into + static_cast<size_t>(height - 1 - y) * rowBytes;
        memcpy(row.data(), low, rowBytes);
        memcpy(low, high, rowBytes);
        memcpy(high, row.data(), rowBytes);
    }
}

void RenderTarget::destroy() {
    if (!frameFbo && !frameColour && !depthStencil) {
        return; // nothing built, perhaps no context at all
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (program) {
        glDeleteProgram(program);
    }
    if (pictureFbo) {
        glDeleteFramebuffers(1, &pictureFbo);
    }
    if (pictureColour) {
        glDeleteTextures(1, &pictureColour);
    }
    if (depthStencil) {
        glDeleteRenderbuffers(1, &depthStencil);
    }
    if (frameFbo) {
        glDeleteFramebuffers(1, &frameFbo);
    }
    if (frameColour) {
        glDeleteRenderbuffers(1, &frameColour);
    }
    program = pictureFbo = pictureColour = depthStencil = frameFbo = frameColour = 0;
    glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
    RenderScale::reset();
}
