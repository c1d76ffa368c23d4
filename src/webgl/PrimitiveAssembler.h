// Turning the vertices of one glBegin/glEnd pair into the triangles and points WebGL draws.
#pragma once

#include <vector>

// A vertex as glVertex records it, with the colour and texture coordinate current then.
struct ImmediateVertex {
    float position[3];
    float color[4];
    float texcoord[2];
};

// What the layer's shader programs read, 40 bytes. A segment's end carries the segment's other
// end and a side: the assembler gives 1 at its start and 2 at its end; a wide line's quad corner
// -1 or +1 at its start, -2 or +2 at its end, from which the shaders place the quad in window
// space. Triangles, quads and points have other = position and side 0. The colour is clamped to
// 0..1 and stored in bytes, as a framebuffer of 8 bits a channel holds it anyway.
struct DrawVertex {
    float position[3];
    float other[3];
    float side;
    unsigned char color[4];
    float texcoord[2];
};

class PrimitiveAssembler {
  public:
    // QUADS come as four corners a quad, drawn through a shared index list; LINES as two ends a
    // segment (the renderer makes the quads); TRIANGLES as three vertices each.
    enum Kind { TRIANGLES, QUADS, LINES, POINTS, INVALID };

    // The draw kind of a glBegin mode; INVALID for a mode the layer does not know.
    static Kind kindOf(unsigned mode);
    // Appends the draw vertices of one primitive run; an incomplete last primitive is dropped,
    // as OpenGL drops it.
    static void assemble(unsigned mode, const std::vector<ImmediateVertex>& in,
                         std::vector<DrawVertex>& out);
};
