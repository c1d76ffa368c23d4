// Quads split into triangles, line strips and loops into segments.
#include "PrimitiveAssembler.h"

#include <GL/gl.h>

#include <cstddef>

namespace {

DrawVertex plain(const ImmediateVertex& v) {
    DrawVertex d;
    for (int i = 0; i < 3; ++i) {
        d.position[i] = v.position[i];
        d.other[i] = v.position[i];
    }
    d.side = 0.0f;
    for (int i = 0; i < 4; ++i) {
        const float c = v.color[i] < 0.0f ? 0.0f : (v.color[i] > 1.0f ? 1.0f : v.color[i]);
        d.color[i] = static_cast<unsigned char>(c * 255.0f + 0.5f);
    }
    d.texcoord[0] = v.texcoord[0];
    d.texcoord[1] = v.texcoord[1];
    return d;
}

DrawVertex lineCorner(const ImmediateVertex& v, const ImmediateVertex& other, float side) {
    DrawVertex d = plain(v);
    for (int i = 0; i < 3; ++i) {
        d.other[i] = other.position[i];
    }
    d.side = side;
    return d;
}

// A segment's two ends, each knowing the other: the renderer makes its quad.
void segment(const ImmediateVertex& a, const ImmediateVertex& b, std::vector<DrawVertex>& out) {
    out.push_back(lineCorner(a, b, 1.0f));
    out.push_back(lineCorner(b, a, 2.0f));
}

// A quad's corners in drawing order; its triangles a b c and a c d keep the quad's winding.
void quad(const ImmediateVertex& a, const ImmediateVertex& b, const ImmediateVertex& c,
          const ImmediateVertex& d, std::vector<DrawVertex>& out) {
    out.push_back(plain(a));
    out.push_back(plain(b));
    out.push_back(plain(c));
    out.push_back(plain(d));
}

} // namespace

PrimitiveAssembler::Kind PrimitiveAssembler::kindOf(unsigned mode) {
    switch (mode) {
    case GL_TRIANGLES:
        return TRIANGLES;
    case GL_QUADS:
    case GL_QUAD_STRIP:
        return QUADS;
    case GL_LINES:
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        return LINES;
    case GL_POINTS:
        return POINTS;
    default:
        return INVALID;
    }
}

void PrimitiveAssembler::assemble(unsigned mode, const std::vector<ImmediateVertex>& in,
                                  std::vector<DrawVertex>& out) {
    const size_t n = in.size();
    switch (mode) {
    case GL_POINTS:
        for (size_t i = 0; i < n; ++i) {
            out.push_back(plain(in[i]));
        }
        break;
    case GL_TRIANGLES:
        for (size_t i = 0; i + 3 <= n; i += 3) {
            out.push_back(plain(in[i]));
            out.push_back(plain(in[i + 1]));
            out.push_back(plain(in[i + 2]));
        }
        break;
    case GL_QUADS:
        for (size_t i = 0; i + 4 <= n; i += 4) {
            quad(in[i], in[i + 1], in[i + 2], in[i + 3], out);
        }
        break;
    case GL_QUAD_STRIP:
        // Pair k and pair k + 1 make a quad; its drawing order is 2k, 2k+1, 2k+3, 2k+2.
        for (size_t i = 0; i + 4 <= n; i += 2) {
            quad(in[i], in[i + 1], in[i + 3], in[i + 2], out);
        }
        break;
    case GL_LINES:
        for (size_t i = 0; i + 2 <= n; i += 2) {
            segment(in[i], in[i + 1], out);
        }
        break;
    case GL_LINE_STRIP:
    case GL_LINE_LOOP:
        for (size_t i = 0; i + 1 < n; ++i) {
            segment(in[i], in[i + 1], out);
        }
        if (mode == GL_LINE_LOOP && n > 1) {
            segment(in[n - 1], in[0], out);
        }
        break;
    default:
        break;
    }
}
