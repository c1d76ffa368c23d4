// One-pixel lines as triangles whose fragments keep exactly the desktop's pixels: everything a
// segment's corners share is worked out here, once a segment, not once a corner.
#pragma once

#include <cstddef>
#include <vector>

#include "Matrix4.h"
#include "PrimitiveAssembler.h"

// A corner of a one-pixel line's triangle, 60 bytes: its clip-space position, the line along its
// major axis (start, end, in window pixels on a 1/256 grid), the span of its pixels along that
// axis with whether the axis is x and the eye depth for fog, its colour and texture coordinate.
struct ThinLineVertex {
    float clip[4];
    float line[4];
    float span[4]; // first and last pixel edge, 1 when x-major, eye depth
    unsigned char color[4];
    float texcoord[2];
};

class ThinLines {
  public:
    // The triangles of count ends of the LINES kind's segments (two ends each) under the
    // model-view and projection, in the viewport (x, y, width, height in the drawing buffer),
    // appended to out as three corners a segment. A segment behind the near plane, or with no
    // pixel, is left out; one that crosses the near plane is cut where it does.
    static void build(const DrawVertex* ends, size_t count, const Matrix4& modelview,
                      const Matrix4& projection, const float viewport[4],
                      std::vector<ThinLineVertex>& out);
};
