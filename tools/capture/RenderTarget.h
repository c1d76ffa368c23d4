// The framebuffer objects a capture draws into and reads back from, at any frame size.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/RenderScale.h"

// The scenes draw through the render scale into the frame's largest centred 4:3 region; the
// bars around it stay black. With supersampling the region is drawn at ssaa times its size
// into a texture of its own and filtered down on the GPU with an area filter (each pixel the
// plain mean of its ssaa x ssaa samples) into the frame.
//
// Depth and stencil are those of the demo's window (16 bits of depth and no stencil with the
// offscreen driver, as the demo asks for), and the frame is drawn in the window's row order: at 800
// x 600 the capture gives the window's very pixels. Colour is 8 bits a channel as in the window,
// with an alpha channel the window lacks: no blending reads it, and RGBA reads back at twice the
// speed of RGB. What alpha holds is whatever blending left; the writers use red, green and blue.
class RenderTarget {
  public:
    RenderTarget();
    // Deletes the OpenGL objects; needs the context still current.
    ~RenderTarget();

    RenderTarget(const RenderTarget&) = delete;
    RenderTarget& operator=(const RenderTarget&) = delete;

    // Builds the targets of a width x height frame whose picture is drawn at ssaa (1 to 4)
    // times its size, clears the frame to black and points the render scale at the picture.
    // Needs a current context. False with a one-line reason when the driver cannot hold the
    // frame (beyond its limits, out of memory, or incomplete); then nothing is left built.
    bool create(int width, int height, int ssaa, std::string& error);

    // Before each frame: the scenes draw into the picture's target, scissored to the picture's
    // region so nothing they draw or clear reaches the bars.
    void bind();
    // After each frame: filters the picture down (with supersampling) and reads the whole
    // frame back into `into`, width x height RGBA (alpha meaningless), rows bottom first. Leaves
    // every OpenGL state the scenes see as it found it.
    void read(uint8_t* into);

    // After each frame: filters the picture down into the frame (with supersampling; once a
    // frame), for a reader of the frame's framebuffer (the colour conversion). Leaves every
    // OpenGL state the scenes see as it found it.
    void filter();
    // The framebuffer that holds the frame as read back: colour attachment 0, RGBA8, rows as
    // the window's.
    GLuint frameBuffer() const { return frameFbo; }

    int width;
    int height;
    int ssaa;

  private:
    // The largest side the driver can draw, attach and read back in one framebuffer.
    static GLint largestSide(bool asTexture);
    bool check(GLuint fbo, const char* what, std::string& error);
    bool buildDownsample(std::string& error);
    void downsample();
    void destroy();

    RenderScale::Region region; // the picture's place in the frame, as stored
    GLuint frameFbo;            // the frame as read back
    GLuint frameColour;
    GLuint pictureFbo;    // supersampled: the picture drawn at ssaa times its size
    GLuint pictureColour; // a texture, read by the filter
    GLuint depthStencil;  // of whichever of the two the scenes draw into
    GLuint program;       // the area filter
    bool packInvert;      // the driver reads rows back top first on request
    bool filtered;        // the frame holds this frame's picture filtered down
    std::vector<uint8_t> flipRow;
};
