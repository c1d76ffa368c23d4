// The scenes: each draws with only the calls of its group beyond the shared set-up.
#include "LayerScenes.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

namespace {

void pixelOrtho() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, LAYER_WIDTH, 0.0, LAYER_HEIGHT, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void camera(double eyeX, double eyeY, double eyeZ) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(LAYER_WIDTH) / LAYER_HEIGHT, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eyeX, eyeY, eyeZ, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
}

void quadAt(float x0, float y0, float x1, float y1, float z) {
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(x0, y0, z);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(x1, y0, z);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(x1, y1, z);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(x0, y1, z);
}

// Smooth colours, depth test, a perspective camera looking from above and to the side.
void triangles() {
    camera(3.0, 4.0, 9.0);
    glEnable(GL_DEPTH_TEST);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(-3.0f, -2.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(3.0f, -2.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 3.0f, 0.0f);
    // Crosses the first one: the depth test cuts it along their intersection.
    glColor3f(1.0f, 1.0f, 0.2f);
    glVertex3f(-2.0f, 0.0f, -2.0f);
    glVertex3f(2.5f, 0.5f, 2.0f);
    glColor3f(0.2f, 1.0f, 1.0f);
    glVertex3f(-1.0f, 2.5f, 1.0f);
    glEnd();
}

// Quads and a quad strip; culling drops the clockwise ones, then the counter-clockwise ones.
void quads() {
    pixelOrtho();
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glBegin(GL_QUADS);
    glColor3f(0.9f, 0.3f, 0.1f);
    quadAt(10.0f, 10.0f, 50.0f, 50.0f, 0.0f);
    glColor3f(0.1f, 0.9f, 0.3f);
    glVertex2f(60.0f, 10.0f); // clockwise: culled
    glVertex2f(60.0f, 50.0f);
    glVertex2f(100.0f, 50.0f);
    glVertex2f(100.0f, 10.0f);
    glEnd();
    glFrontFace(GL_CW);
    glBegin(GL_QUADS);
    glColor3f(0.2f, 0.4f, 0.9f);
    glVertex2f(110.0f, 10.0f);
    glVertex2f(110.0f, 50.0f);
    glColor3f(0.9f, 0.9f, 0.2f);
    glVertex2f(150.0f, 50.0f);
    glVertex2f(150.0f, 10.0f);
    glEnd();
    glDisable(GL_CULL_FACE);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= 6; ++i) {
        const float x = 12.0f + 22.0f * i;
        glColor3f(i / 6.0f, 0.5f, 1.0f - i / 6.0f);
        glVertex2f(x, 65.0f + (i % 2) * 8.0f);
        glVertex2f(x + 4.0f, 108.0f - (i % 3) * 5.0f);
    }
    glEnd();
}

void lineFan(float cx, float cy, float radius) {
    glBegin(GL_LINES);
    for (int i = 0; i < 12; ++i) {
        const float a = 0.2618f * i + 0.1f;
        glColor3f(1.0f, 0.3f + 0.05f * i, 0.2f);
        glVertex2f(cx, cy);
        glVertex2f(cx + radius * std::cos(a), cy + radius * std::sin(a));
    }
    glEnd();
}

void lineShapes() {
    lineFan(40.5f, 60.5f, 30.0f);
    glColor3f(0.3f, 0.8f, 1.0f);
    glBegin(GL_LINE_STRIP);
    glVertex2f(85.0f, 15.0f);
    glVertex2f(150.0f, 30.0f);
    glVertex2f(95.0f, 60.0f);
    glVertex2f(140.0f, 105.0f);
    glEnd();
    glColor3f(0.9f, 0.9f, 0.3f);
    glBegin(GL_LINE_LOOP);
    glVertex2f(100.0f, 75.0f);
    glVertex2f(125.0f, 70.0f);
    glVertex2f(120.0f, 95.0f);
    glEnd();
}

void lines() {
    pixelOrtho();
    lineShapes();
}

// The same lines in a viewport away from the corner, as a letterboxed picture has it.
void offsetLines() {
    glViewport(23, 17, 120, 90);
    pixelOrtho();
    lineShapes();
}

void wideLines() {
    pixelOrtho();
    glLineWidth(4.0f);
    lineShapes();
    glLineWidth(1.0f);
}

// Lines through a perspective camera, one end behind the eye, with culling on (lines ignore it).
void perspectiveLines() {
    camera(0.0, 0.0, 5.0);
    glEnable(GL_CULL_FACE);
    glLineWidth(2.0f);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < 40; ++i) {
        const float z = 4.0f - i * 0.7f;
        glColor3f(0.9f, 0.7f, 0.2f);
        glVertex3f(1.5f * std::cos(i * 0.5f), 1.2f * std::sin(i * 0.5f), z);
    }
    glEnd();
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glColor3f(0.3f, 0.6f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 8.0f); // behind the eye
    glVertex3f(1.0f, 0.5f, -10.0f);
    glEnd();
}

void points() {
    pixelOrtho();
    const float sizes[] = {1.0f, 3.0f, 4.0f};
    for (int s = 0; s < 3; ++s) {
        glPointSize(sizes[s]);
        glBegin(GL_POINTS);
        for (int i = 0; i < 12; ++i) {
            glColor3f(0.2f + 0.06f * i, 0.4f, 1.0f - 0.2f * s);
            glVertex2f(10.5f + 12.0f * i, 20.5f + 35.0f * s + (i % 3));
        }
        glEnd();
    }
    glPointSize(1.0f);
}

// A floor of quads running away from the eye into black fog, linear from 2 to 20 units.
void fog() {
    camera(0.0, 1.5, 6.0);
    const float black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, black);
    glFogf(GL_FOG_START, 2.0f);
    glFogf(GL_FOG_END, 20.0f);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glEnable(GL_FOG);
    glEnable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    for (int i = 0; i < 10; ++i) {
        const float z0 = 4.0f - 2.0f * i;
        glColor3f((i % 2) ? 1.0f : 0.3f, 0.8f, (i % 2) ? 0.3f : 1.0f);
        glVertex3f(-3.0f, -1.0f, z0);
        glVertex3f(3.0f, -1.0f, z0);
        glVertex3f(3.0f, -1.0f, z0 - 2.0f);
        glVertex3f(-3.0f, -1.0f, z0 - 2.0f);
    }
    glEnd();
    glDisable(GL_FOG);
}

// One-pixel lines at depths from near the eye into the distance under linear fog, over a floor
// of triangles, once with the fog beginning at 5 and once, as the tunnels have it, with its end
// nearer than its start: lines and triangles where fog changes nothing and in it. Each keeps one
// depth: along a line in depth the desktop interpolates the fog's distance in the window, not in
// the eye's space.
void fogLines() {
    camera(0.0, 1.5, 6.0);
    const float black[] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, black);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glEnable(GL_FOG);
    glEnable(GL_DEPTH_TEST); // as in the tunnels: the layer may then draw unfogged lines apart
    const float ranges[2][2] = {{5.0f, 20.0f}, {7.0f, 3.0f}};
    for (int r = 0; r < 2; ++r) {
        glFogf(GL_FOG_START, ranges[r][0]);
        glFogf(GL_FOG_END, ranges[r][1]);
        const float x0 = r == 0 ? -3.0f : 0.2f;
        // A floor of triangles under the lines, from near the eye into the fog.
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 12; ++i) {
            const float z = 4.5f - 1.5f * i;
            glColor3f(0.2f, 0.4f + 0.05f * i, 0.9f);
            glVertex3f(x0, -1.6f, z);
            glVertex3f(x0 + 2.8f, -1.6f, z);
            glVertex3f(x0 + 1.4f, -1.6f, z - 1.5f);
        }
        glEnd();
        glBegin(GL_LINES);
        for (int i = 0; i < 12; ++i) {
            const float z = 4.5f - 1.5f * i;
            glColor3f(1.0f, 0.3f + 0.05f * i, 0.2f);
            glVertex3f(x0, -1.0f + 0.1f * i, z);
            glVertex3f(x0 + 2.8f, -1.3f + 0.1f * i, z);
        }
        glEnd();
    }
    glDisable(GL_FOG);
}

void blending() {
    pixelOrtho();
    glBegin(GL_QUADS);
    glColor3f(0.2f, 0.5f, 0.8f);
    quadAt(0.0f, 0.0f, 80.0f, 120.0f, 0.0f);
    glEnd();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 0.2f, 0.1f, 0.6f);
    quadAt(20.0f, 10.0f, 120.0f, 50.0f, 0.0f);
    glColor4f(0.1f, 1.0f, 0.2f, 0.3f);
    quadAt(40.0f, 30.0f, 140.0f, 70.0f, 0.0f);
    glEnd();
    glBlendFunc(GL_ONE, GL_ONE);
    glBegin(GL_QUADS);
    glColor3f(0.3f, 0.3f, 0.1f);
    quadAt(30.0f, 60.0f, 150.0f, 90.0f, 0.0f);
    glEnd();
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glBegin(GL_QUADS);
    glColor3f(0.5f, 1.0f, 0.7f);
    quadAt(10.0f, 80.0f, 110.0f, 115.0f, 0.0f);
    glEnd();
    glDisable(GL_BLEND);
}

// A mipmapped checker and gradient shrinking over several levels, tinted by the vertex colour;
// a texture name without an image beside it draws in the vertex colour alone.
void textures() {
    const int size = 64;
    std::vector<unsigned char> image(size * size * 3);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            unsigned char* p = &image[(y * size + x) * 3];
            const bool dark = ((x / 4) + (y / 4)) % 2 == 0;
            p[0] = static_cast<unsigned char>(dark ? 30 : 250);
            p[1] = static_cast<unsigned char>(x * 4);
            p[2] = static_cast<unsigned char>(y * 4);
        }
    }
    GLuint names[2] = {0, 0};
    glGenTextures(2, names);
    glBindTexture(GL_TEXTURE_2D, names[0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, size, size, GL_RGB, GL_UNSIGNED_BYTE, image.data());

    pixelOrtho();
    glEnable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor3f(1.0f, 1.0f, 1.0f);
    quadAt(2.0f, 40.0f, 82.0f, 118.0f, 0.0f); // magnified
    glColor3f(1.0f, 0.8f, 0.6f);
    quadAt(86.0f, 70.0f, 118.0f, 102.0f, 0.0f); // half size
    quadAt(122.0f, 80.0f, 138.0f, 96.0f, 0.0f); // a quarter
    quadAt(142.0f, 84.0f, 150.0f, 92.0f, 0.0f); // an eighth
    glEnd();
    glBindTexture(GL_TEXTURE_2D, names[1]);
    glBegin(GL_QUADS);
    glColor3f(0.7f, 0.2f, 0.9f);
    quadAt(90.0f, 10.0f, 150.0f, 50.0f, 0.0f);
    glEnd();

    // RGB rows of 30 pixels (padded to 4 bytes) and sides that are not powers of two: scaled
    // down to 16 x 16 first. Smooth, so that how the scaling filters matters little.
    const int w = 30;
    const int h = 20;
    const int stride = (w * 3 + 3) / 4 * 4;
    std::vector<unsigned char> rgb(stride * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            unsigned char* p = &rgb[y * stride + x * 3];
            p[0] = static_cast<unsigned char>(x * 8);
            p[1] = static_cast<unsigned char>(200 - y * 9);
            p[2] = static_cast<unsigned char>(60 + x * 3 + y * 4);
        }
    }
    // RGBA, its alpha falling from left to right, blended over the frame.
    std::vector<unsigned char> rgba(32 * 16 * 4);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            unsigned char* p = &rgba[(y * 32 + x) * 4];
            p[0] = 250;
            p[1] = static_cast<unsigned char>(y * 16);
            p[2] = 40;
            p[3] = static_cast<unsigned char>(255 - x * 8);
        }
    }
    GLuint odd[2] = {0, 0};
    glGenTextures(2, odd);
    glBindTexture(GL_TEXTURE_2D, odd[0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glBegin(GL_QUADS);
    glColor3f(1.0f, 1.0f, 1.0f);
    quadAt(2.0f, 2.0f, 40.0f, 36.0f, 0.0f);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, odd[1]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, 32, 16, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glBegin(GL_QUADS);
    quadAt(30.0f, 10.0f, 82.0f, 30.0f, 0.0f);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(2, odd);
    glDeleteTextures(2, names);
}

// Clears and quads limited to a rectangle, then the whole frame again.
void scissor() {
    pixelOrtho();
    glEnable(GL_SCISSOR_TEST);
    glScissor(20, 15, 100, 70);
    glClearColor(0.2f, 0.2f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBegin(GL_QUADS);
    glColor3f(1.0f, 0.6f, 0.0f);
    quadAt(0.0f, 40.0f, 160.0f, 60.0f, 0.0f);
    glEnd();
    glDisable(GL_SCISSOR_TEST);
    glBegin(GL_QUADS);
    glColor3f(0.0f, 0.8f, 0.4f);
    quadAt(130.0f, 90.0f, 150.0f, 110.0f, 0.0f);
    glEnd();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

// Nested pushes and pops on both stacks, rotations and scales, a depth-masked overlay.
void matrixStacks() {
    camera(0.0, 0.0, 10.0);
    glEnable(GL_DEPTH_TEST);
    for (int i = 0; i < 3; ++i) {
        glPushMatrix();
        glRotatef(25.0f + 40.0f * i, 0.0f, 0.0f, 1.0f);
        glScalef(1.0f + 0.5f * i, 0.6f, 1.0f);
        glPushMatrix();
        glRotatef(30.0f * i, 1.0f, 0.0f, 0.0f);
        glBegin(GL_QUADS);
        glColor3f(0.3f * i, 0.9f - 0.3f * i, 0.6f);
        quadAt(0.5f, -0.5f, 3.0f, 0.5f, 0.0f);
        glEnd();
        glPopMatrix();
        glPopMatrix();
    }
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, 800.0, 600.0, 0.0, 1.0, 1000.0); // the overlay's pass: y down, z = 0 at 10 units
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glDepthMask(GL_FALSE);
    glBegin(GL_QUADS);
    glColor3f(0.9f, 0.9f, 0.9f);
    quadAt(40.0f, 40.0f, 200.0f, 160.0f, 0.0f);
    glEnd();
    glDepthMask(GL_TRUE);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.2f, 0.5f);
    glVertex3f(-4.0f, -3.0f, -1.0f);
    glVertex3f(-1.0f, -3.0f, -1.0f);
    glVertex3f(-2.5f, -1.0f, -1.0f);
    glEnd();
}

// Widths and sizes between whole pixels, as a frame drawn at another scale asks for them.
void fractionalWidths() {
    pixelOrtho();
    const float widths[] = {1.4f, 2.6f, 3.5f};
    for (int i = 0; i < 3; ++i) {
        glLineWidth(widths[i]);
        glBegin(GL_LINES);
        glColor3f(0.9f, 0.6f - 0.2f * i, 0.2f + 0.3f * i);
        glVertex2f(8.0f, 10.0f + 14.0f * i);
        glVertex2f(70.0f, 16.0f + 14.0f * i);
        glVertex2f(90.0f + 20.0f * i, 8.0f);
        glVertex2f(96.0f + 20.0f * i, 60.0f);
        glEnd();
        glPointSize(widths[i] + 1.0f);
        glBegin(GL_POINTS);
        for (int k = 0; k < 8; ++k) {
            glVertex2f(10.3f + 18.0f * k, 75.0f + 15.0f * i + 0.4f * k);
        }
        glEnd();
    }
    glLineWidth(1.0f);
    glPointSize(1.0f);
}

// One quad a pixel over most of the frame, each its own colour: more quads than one indexed
// call of the layer draws, so the batch is split.
void manyQuads() {
    pixelOrtho();
    glBegin(GL_QUADS);
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 150; ++x) {
            glColor3f((x * 7 % 256) / 255.0f, (y * 5 % 256) / 255.0f, ((x + y) * 3 % 256) / 255.0f);
            glVertex2f(x + 5.0f, static_cast<float>(y));
            glVertex2f(x + 6.0f, static_cast<float>(y));
            glVertex2f(x + 6.0f, y + 1.0f);
            glVertex2f(x + 5.0f, y + 1.0f);
        }
    }
    glEnd();
}

} // namespace

const LayerScene LAYER_SCENES[] = {
    {"triangles", triangles},
    {"quads", quads},
    {"lines", lines},
    {"offset-lines", offsetLines},
    {"wide-lines", wideLines},
    {"perspective-lines", perspectiveLines},
    {"points", points},
    {"fog", fog},
    {"fog-lines", fogLines},
    {"blending", blending},
    {"textures", textures},
    {"scissor", scissor},
    {"matrix-stacks", matrixStacks},
    {"many-quads", manyQuads},
    {"fractional-widths", fractionalWidths},
};
const int LAYER_SCENE_COUNT = sizeof(LAYER_SCENES) / sizeof(LAYER_SCENES[0]);

void resetLayerState() {
    glViewport(0, 0, LAYER_WIDTH, LAYER_HEIGHT);
    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_SCISSOR_TEST);
    glDepthMask(GL_TRUE);
    glFrontFace(GL_CCW);
    glShadeModel(GL_SMOOTH);
    glLineWidth(1.0f);
    glPointSize(1.0f);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

int readLayerErrors(unsigned* codes, int capacity) {
    int n = 0;
    const auto read = [&]() {
        if (n < capacity) {
            codes[n++] = glGetError();
        }
    };
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPopMatrix();
    read();
    glBegin(0x1234);
    read();
    glBegin(GL_TRIANGLES);
    glEnable(GL_BLEND);
    glEnd();
    read();
    glLineWidth(0.0f);
    read();
    read();
    return n;
}
