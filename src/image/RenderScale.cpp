// Mapping the picture's pixel units onto the frame, and the OpenGL calls that take them.
#include "image/RenderScale.h"

#include <GL/gl.h>

#include <cmath>

RenderScale::Region RenderScale::picture = {0, 0, RenderScale::WIDTH, RenderScale::HEIGHT};
RenderScale::Region RenderScale::viewportUnits = {0, 0, 0, 0};
RenderScale::Region RenderScale::scissorUnits = {0, 0, 0, 0};
float RenderScale::lineWidthUnits = 0.0f;
float RenderScale::pointSizeUnits = 0.0f;

bool RenderScale::setFrame(int width, int height) {
    if (width < 1 || height < 1) {
        return false;
    }
    place(fit(width, height));
    return true;
}

bool RenderScale::setRegion(const Region& region) {
    if (region.width < 1 || region.height < 1) {
        return false;
    }
    place(region);
    return true;
}

void RenderScale::reset() {
    picture = Region{0, 0, WIDTH, HEIGHT};
    viewportUnits = scissorUnits = Region{0, 0, 0, 0};
    lineWidthUnits = pointSizeUnits = 0.0f;
}

void RenderScale::place(const Region& region) {
    const bool moved = region.x != picture.x || region.y != picture.y ||
                       region.width != picture.width || region.height != picture.height;
    picture = region;
    // Nothing was set before the first draw, when there may be no context yet to set it in.
    if (!moved) {
        return;
    }
    if (viewportUnits.width > 0) {
        viewport(viewportUnits.x, viewportUnits.y, viewportUnits.width, viewportUnits.height);
    }
    if (scissorUnits.width > 0) {
        scissor(scissorUnits.x, scissorUnits.y, scissorUnits.width, scissorUnits.height);
    }
    if (lineWidthUnits > 0.0f) {
        lineWidth(lineWidthUnits);
    }
    if (pointSizeUnits > 0.0f) {
        pointSize(pointSizeUnits);
    }
}

RenderScale::Region RenderScale::region() {
    return picture;
}

RenderScale::Region RenderScale::fit(int width, int height) {
    Region r{0, 0, width, height};
    // In 64 bits: a frame as large as the driver allows still multiplies without overflow.
    const long long w = width;
    const long long h = height;
    if (w * HEIGHT >= h * WIDTH) {
        r.width = static_cast<int>((h * WIDTH + HEIGHT / 2) / HEIGHT); // wider: bars left and right
    } else {
        r.height =
            static_cast<int>((w * HEIGHT + WIDTH / 2) / WIDTH); // taller: bars above and below
    }
    r.width = r.width < 1 ? 1 : r.width;
    r.height = r.height < 1 ? 1 : r.height;
    r.x = (width - r.width) / 2;
    r.y = (height - r.height) / 2;
    return r;
}

float RenderScale::scale() {
    return static_cast<float>(picture.height) / static_cast<float>(HEIGHT);
}

RenderScale::Region RenderScale::toPixels(int x, int y, int width, int height) {
    const double sx = static_cast<double>(picture.width) / WIDTH;
    const double sy = static_cast<double>(picture.height) / HEIGHT;
    const long x0 = std::lround(x * sx);
    const long y0 = std::lround(y * sy);
    const long x1 = std::lround((static_cast<double>(x) + width) * sx);
    const long y1 = std::lround((static_cast<double>(y) + height) * sy);
    return Region{picture.x + static_cast<int>(x0), picture.y + static_cast<int>(y0),
                  static_cast<int>(x1 - x0), static_cast<int>(y1 - y0)};
}

void RenderScale::viewport(int x, int y, int width, int height) {
    viewportUnits = Region{x, y, width, height};
    const Region r = toPixels(x, y, width, height);
    glViewport(r.x, r.y, r.width, r.height);
}

void RenderScale::scissor(int x, int y, int width, int height) {
    scissorUnits = Region{x, y, width, height};
    const Region r = toPixels(x, y, width, height);
    glScissor(r.x, r.y, r.width, r.height);
}

void RenderScale::lineWidth(float width) {
    lineWidthUnits = width;
    glLineWidth(width * scale());
}

void RenderScale::pointSize(float size) {
    pointSizeUnits = size;
    glPointSize(size * scale());
}
