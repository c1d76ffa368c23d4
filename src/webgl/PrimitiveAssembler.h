// Turning the vertices of one glBegin/glEnd pair into the triangles and points WebGL draws.
#pragma once

#include <vector>

// A vertex as glVertex records it, with the colour and texture coordinate current then.
struct ImmediateVertex {
    float position[3];
    float color[4];
    float texcoord[2];
};

// What the layer's shader programs read, 40 bytes. A line's quad corner carries the
// segment's other end and a side (-1 or +1 at its start, -2 or +2 at its end); the shaders place
// the quad and pick the line's pixels in window space from those. Triangles, quads and points have
// other = position and side 0. The colour is clamped to 0..1 and stored in bytes, as a framebuffer
// of 8 bits a channel holds it anyway.
struct DrawVertex {
    float position[3];
    float other[3];
    float side;
    unsigned char color[4];
    float texcoord[2];
};

class PrimitiveAssembler {
  public:
    // QUADS and LINES come as four corners a quad (a line's quad in window space), drawn through
    // a shared index list; TRIANGLES as three vertices each.
    enum Kind { TRIANGLES, QUADS, LINES, POINTS, INVALID };

    // The draw kind of a glBegin mode; INVALID for a mode the layer does not know.
    static Kind kindOf(unsigned mode);
    // Appends the draw vertices of one primitive run; an incomplete last primitive is dropped,
    // as OpenGL drops it.
    static void assemble(unsigned mode, const std::vector<ImmediateVertex>& in,
                         std::vector<DrawVertex>& out);
};
