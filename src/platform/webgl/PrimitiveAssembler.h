// Turning the vertices of one glBegin/glEnd pair into the triangles and points WebGL draws.
#pragma once

#include <vector>

// A vertex as glVertex records it, with the colour and texture coordinate current then.
struct ImmediateVertex {
    float position[3];
    float color[4];
    float texcoord[2];
};

// What the layer's one shader program reads. A line's quad corner carries the segment's other
// end and a side (-1 or +1); the vertex shader widens the segment in window space from those.
// Triangles and points have other = position and side 0.
struct DrawVertex {
    float position[3];
    float other[3];
    float side;
    float color[4];
    float texcoord[2];
};

class PrimitiveAssembler {
  public:
    enum Kind { TRIANGLES, LINES, POINTS, INVALID };

    // The draw kind of a glBegin mode; INVALID for a mode the layer does not know.
    static Kind kindOf(unsigned mode);
    // Appends the draw vertices of one primitive run; an incomplete last primitive is dropped,
    // as OpenGL drops it.
    static void assemble(unsigned mode, const std::vector<ImmediateVertex>& in,
                         std::vector<DrawVertex>& out);
};
