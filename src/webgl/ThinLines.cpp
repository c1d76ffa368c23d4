// The desktop's rule for one-pixel lines, worked out per segment on the processor.
#include "ThinLines.h"

#include <cmath>

namespace {

struct Vec4 {
    float x, y, z, w;
};

Vec4 transform(const Matrix4& t, const float* p) {
    const float* m = t.m;
    return {m[0] * p[0] + m[4] * p[1] + m[8] * p[2] + m[12] * p[3],
            m[1] * p[0] + m[5] * p[1] + m[9] * p[2] + m[13] * p[3],
            m[2] * p[0] + m[6] * p[1] + m[10] * p[2] + m[14] * p[3],
            m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15] * p[3]};
}

Vec4 mix(const Vec4& a, const Vec4& b, float t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
            a.w + (b.w - a.w) * t};
}

// The 1/256 pixel grid the desktop's rasteriser takes line ends to.
float onGrid(float v) {
    return std::floor(v * 256.0f + 0.5f) / 256.0f;
}

float fract(float v) {
    return v - std::floor(v);
}

// Where a one-pixel line's pixels start or stop along its major axis, by the diamond-exit rule:
// the end's pixel is drawn when the segment leaves that pixel's diamond (|dx| + |dy| < 1/2 about
// its centre): a start inside it, or short of its centre with the line passing through it; an
// end beyond it. The answer is the edge of the pixel's column that takes it in or leaves it out.
float diamondEdge(float ownX, float ownY, float farX, float farY, bool isEnd) {
    float dx = isEnd ? ownX - farX : farX - ownX;
    float dy = isEnd ? ownY - farY : farY - ownY;
    const bool xMajor = std::fabs(dx) >= std::fabs(dy);
    const float px = xMajor ? ownX : ownY;
    const float py = xMajor ? ownY : ownX;
    if (!xMajor) {
        const float t = dx;
        dx = dy;
        dy = t;
    }
    const float slope = dx != 0.0f ? dy / dx : 0.0f;
    const float forward = dx >= 0.0f ? 1.0f : -1.0f;
    const float offX = fract(px) - 0.5f;
    const float offY = fract(py) - 0.5f;
    const bool inside = std::fabs(offX) + std::fabs(offY) < 0.5f;
    const bool through = std::fabs(py - offX * slope - std::floor(py) - 0.5f) < 0.5f;
    const bool drawn = isEnd ? !inside && offX * forward > 0.0f && through
                             : inside || (offX * forward < 0.0f && through);
    // Going forward, the pixels run from the start's edge up to the end's.
    const bool low = (forward > 0.0f) == (isEnd != drawn);
    return std::floor(px) + (low ? 0.0f : 1.0f);
}

// Whether a and b both lie beyond one plane of the view volume (x, y or z outside -w .. w).
bool beyondOneSide(const Vec4& a, const Vec4& b) {
    const float at[2][3] = {{a.x, a.y, a.z}, {b.x, b.y, b.z}};
    for (int axis = 0; axis < 3; ++axis) {
        if ((at[0][axis] > a.w && at[1][axis] > b.w) ||
            (at[0][axis] < -a.w && at[1][axis] < -b.w)) {
            return true;
        }
    }
    return false;
}

} // namespace

void ThinLines::build(const DrawVertex* ends, size_t count, const Matrix4& modelview,
                      const Matrix4& projection, const float viewport[4],
                      std::vector<ThinLineVertex>& out) {
    // A strip's segment starts where the last one ended: that end is transformed once.
    const float* last = nullptr;
    Vec4 lastEye = {0.0f, 0.0f, 0.0f, 0.0f};
    Vec4 lastClip = lastEye;
    for (size_t i = 0; i + 2 <= count; i += 2) {
        Vec4 eye[2];
        Vec4 clip[2];
        float d[2];
        for (int e = 0; e < 2; ++e) {
            const float* p = ends[i + e].position;
            if (last && p[0] == last[0] && p[1] == last[1] && p[2] == last[2]) {
                eye[e] = lastEye;
                clip[e] = lastClip;
            } else {
                const float p4[4] = {p[0], p[1], p[2], 1.0f};
                eye[e] = transform(modelview, p4);
                const float q[4] = {eye[e].x, eye[e].y, eye[e].z, eye[e].w};
                clip[e] = transform(projection, q);
                last = p;
                lastEye = eye[e];
                lastClip = clip[e];
            }
            d[e] = clip[e].z + clip[e].w;
        }
        if (d[0] < 0.0f && d[1] < 0.0f) {
            continue;
        }
        // An end behind the near plane moves along the segment onto it.
        for (int e = 0; e < 2; ++e) {
            if (d[e] < 0.0f) {
                const float t = d[e] / (d[e] - d[1 - e]);
                clip[e] = mix(clip[e], clip[1 - e], t);
                eye[e] = mix(eye[e], eye[1 - e], t);
            }
        }
        // Both ends beyond one side of the view volume: no pixel, and the rasteriser need not
        // set up a triangle to find that out.
        if (beyondOneSide(clip[0], clip[1])) {
            continue;
        }
        float win[2][2];
        for (int e = 0; e < 2; ++e) {
            win[e][0] = onGrid(viewport[0] + (clip[e].x / clip[e].w * 0.5f + 0.5f) * viewport[2]);
            win[e][1] = onGrid(viewport[1] + (clip[e].y / clip[e].w * 0.5f + 0.5f) * viewport[3]);
        }
        const bool xMajor = std::fabs(win[1][0] - win[0][0]) >= std::fabs(win[1][1] - win[0][1]);
        const int major = xMajor ? 0 : 1;
        ThinLineVertex shared;
        shared.line[0] = win[0][major];
        shared.line[1] = win[0][1 - major];
        shared.line[2] = win[1][major];
        shared.line[3] = win[1][1 - major];
        shared.span[0] = diamondEdge(win[0][0], win[0][1], win[1][0], win[1][1], false);
        shared.span[1] = diamondEdge(win[1][0], win[1][1], win[0][0], win[0][1], true);
        shared.span[2] = xMajor ? 1.0f : 0.0f;
        const float dm = shared.line[2] - shared.line[0];
        if (shared.span[0] == shared.span[1] || dm == 0.0f) {
            continue; // no pixel
        }
        const float slope = (shared.line[3] - shared.line[1]) / dm;
        // One triangle covers the centres the fragment shader chooses from: along the major
        // axis those of the span's columns, across it those within half a pixel of the line,
        // with an eighth of a pixel more to keep them clear of the rasteriser's own rounding at
        // its edges. In the line's own frame (u along the major axis, v across from the line)
        // that is a rectangle u in [low, high], v in [-5/8, 5/8], and the triangle on its lower
        // side with its apex 5 px above it reaches a sixth of the rectangle's length past either
        // end: one triangle set up instead of two, for some more fragments, which cost less.
        const float first = shared.span[0] + (shared.span[1] > shared.span[0] ? 0.375f : -0.375f);
        const float last = shared.span[1] + (shared.span[1] > shared.span[0] ? -0.375f : 0.375f);
        const float low = first < last ? first : last;
        const float high = first < last ? last : first;
        const float past = (high - low) / 6.0f;
        const float us[3] = {low - past, high + past, (low + high) * 0.5f};
        const float vs[3] = {-0.625f, -0.625f, 4.375f};
        for (int c = 0; c < 3; ++c) {
            ThinLineVertex v = shared;
            float at[2];
            at[major] = us[c];
            at[1 - major] = shared.line[1] + (us[c] - shared.line[0]) * slope + vs[c];
            // The corner takes the depth, the colour and the rest of the point of the segment
            // it lies beside: s of the way in the window is t of the way before the division
            // by w. Past an end where that has no answer (w would not stay positive), the end's
            // own.
            float sFraction = (us[c] - shared.line[0]) / dm;
            float denominator = (1.0f - sFraction) * clip[1].w + sFraction * clip[0].w;
            if (denominator <= 0.0f) {
                sFraction = sFraction < 0.5f ? 0.0f : 1.0f;
                denominator = sFraction > 0.0f ? clip[0].w : clip[1].w;
            }
            const float t = sFraction * clip[0].w / denominator;
            const Vec4 point = mix(clip[0], clip[1], t);
            v.clip[0] = ((at[0] - viewport[0]) / viewport[2] * 2.0f - 1.0f) * point.w;
            v.clip[1] = ((at[1] - viewport[1]) / viewport[3] * 2.0f - 1.0f) * point.w;
            v.clip[2] = point.z;
            v.clip[3] = point.w;
            v.span[3] = std::fabs(eye[0].z + (eye[1].z - eye[0].z) * t);
            const DrawVertex& a = ends[i];
            const DrawVertex& b = ends[i + 1];
            for (int k = 0; k < 4; ++k) {
                v.color[k] = static_cast<unsigned char>(
                    std::lround(a.color[k] + (b.color[k] - a.color[k]) * t));
            }
            for (int k = 0; k < 2; ++k) {
                v.texcoord[k] = a.texcoord[k] + (b.texcoord[k] - a.texcoord[k]) * t;
            }
            out.push_back(v);
        }
    }
}
