// Building, re-walking and drawing the tunnel.
#include "tunnel/Tunnel.h"

#include <GL/gl.h>

#include <new>

#include "image/RenderScale.h"
#include "image/Texture.h"
#include "math/Matrix.h"
#include "math/Noise.h"

Tunnel::Tunnel(Music* music)
    : length(1.0f), radius(0.5f), sectionCount(2), spacing(1.0f), ringVertices(24),
      sections(nullptr), scroll(0.0f), music(music), texture(new Texture("textures/tunnel.png")),
      circle(nullptr) {}

Tunnel::~Tunnel() {
    delete texture;
    clear();
}

void Tunnel::clear() {
    delete[] circle;
    circle = nullptr;
    delete[] sections;
    sections = nullptr;
    sectionCount = 0;
}

Vector3<float> Tunnel::pathStep(const Vector3<float>& p, float ax, float ay) const {
    Matrix t;
    t.translate(p.x, p.y, p.z);
    Matrix rx;
    rx.rotateX(ax);
    Matrix ry;
    ry.rotateY(ay);
    Matrix m;
    m *= t;
    m *= rx;
    m *= ry;
    Vector3<float> next(0.0f, 0.0f, spacing);
    return transformVec(next, m);
}

void Tunnel::create(float newLength, float diameter, int n, int newRingVertices) {
    clear();
    if (n < 1 || newRingVertices < 1) {
        return;
    }
    length = newLength;
    radius = diameter * 0.5f;
    sectionCount = n + 1;
    spacing = newLength / n;
    ringVertices = newRingVertices;

    sections = new (std::nothrow) Section[sectionCount];
    circle = new (std::nothrow) Vector2<float>[ringVertices];
    if (!sections || !circle) {
        clear();
        return;
    }
    const float step = Section::circleStep(ringVertices);
    for (int i = 0; i < ringVertices; ++i) {
        circle[i] = Section::circlePoint(i, step, radius);
    }

    // Unlike update, the noise is sampled from 0 in steps of 0.033, ring 0 included.
    const Noise noise;
    float t = 0.0f;
    float ax = 0.0f;
    float ay = 0.0f;
    Vector3<float> next;
    for (int i = 0; i < sectionCount; ++i) {
        const float px = ax;
        const float py = ay;
        float alongX = 0.0f;
        float alongY = 0.0f;
        noise.perlinAxes(t, alongX, alongY); // perlin(t, 0) and perlin(0, t)
        ax = alongX * 360;
        ay = alongY * 360;
        t += 0.033f;
        const Vector3<float> p = next;
        next = pathStep(p, ax, ay);
        // Each ring is tilted halfway between the steps before and after it.
        if (!sections[i].create(ringVertices, radius, p, ax - (ax - px) * 0.5f,
                                ay - (ay - py) * 0.5f)) {
            clear();
            return;
        }
        // v grows by spacing * 0.3 per ring; the texture repeats along the tube.
        const float v = static_cast<float>(spacing * 0.3 * i);
        for (int j = 0; j <= ringVertices; ++j) {
            sections[i].texCoords[j].y = v;
        }
    }
}

void Tunnel::update(float time) {
    if (!sections) {
        return;
    }
    scroll = time * 0.1f;
    const Noise noise;
    float ax = 0.0f;
    float ay = 0.0f;
    Vector3<float> next;
    for (int i = 0; i < sectionCount; ++i) {
        const float px = ax;
        const float py = ay;
        if (i > 0) {
            const float s = i * 0.03f + scroll;
            float alongX = 0.0f;
            float alongY = 0.0f;
            noise.perlinAxes(s, alongX, alongY); // perlin(s, 0) and perlin(0, s)
            ax = alongX * 360;
            ay = alongY * 360;
        }
        const Vector3<float> p = next;
        next = pathStep(p, ax, ay);
        sections[i].change(ringVertices, circle, p, ax - (ax - px) * 0.5f, ay - (ay - py) * 0.5f);
    }
}

void Tunnel::renderPoint() {
    if (!sections) {
        return;
    }
    RenderScale::lineWidth(1.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_LINE_STRIP);
    for (int i = 0; i < sectionCount; ++i) {
        glVertex3fv(&sections[i].position.x);
    }
    glEnd();

    RenderScale::pointSize(3.0f);
    glColor3f(0.2f, 0.4f, 1.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < sectionCount; ++i) {
        glVertex3fv(&sections[i].position.x);
    }
    glEnd();

    RenderScale::pointSize(1.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_POINTS);
    for (int i = 0; i < sectionCount; ++i) {
        for (int k = 0; k < ringVertices; ++k) {
            glVertex3fv(&sections[i].vertices[k].x);
        }
    }
    glEnd();
}

void Tunnel::renderWire() {
    if (!sections) {
        return;
    }
    glPushMatrix();
    // Turned back by the mean of rings 0 and 25; a shorter tube uses its last ring instead of
    // reading past the array.
    const Section& first = sections[0];
    const Section& farRing = sections[sectionCount > 25 ? 25 : sectionCount - 1];
    glRotatef(-0.5f * (first.angleX + farRing.angleX), 1.0f, 0.0f, 0.0f);
    glRotatef(-0.5f * (first.angleY + farRing.angleY), 0.0f, 1.0f, 0.0f);
    // One pixel unit wide: OpenGL's default width, stated so a larger frame widens the wires.
    RenderScale::lineWidth(1.0f);
    glColor3f(0.9f, 0.7f, 0.2f);

    for (int i = 0; i < sectionCount; ++i) {
        glBegin(GL_LINE_LOOP);
        for (int k = 0; k < ringVertices; ++k) {
            glVertex3fv(&sections[i].vertices[k].x);
        }
        glEnd();
    }
    for (int k = 0; k < ringVertices; ++k) {
        glBegin(GL_LINE_STRIP);
        for (int i = 0; i < sectionCount; ++i) {
            glVertex3fv(&sections[i].vertices[k].x);
        }
        glEnd();
    }
    glPopMatrix();
}

void Tunnel::renderSolid() {
    if (!sections) {
        return;
    }
    glPushMatrix();
    texture->enable();
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 1.0f, 1.0f);
    const int r = ringVertices;
    for (int i = 0; i + 1 < sectionCount; ++i) {
        const Section& nearRing = sections[i];
        const Section& farRing = sections[i + 1];
        for (int k = 0; k + 1 < r; ++k) {
            glTexCoord2fv(&nearRing.texCoords[k + 1].x);
            glVertex3fv(&nearRing.vertices[k + 1].x);
            glTexCoord2fv(&farRing.texCoords[k + 1].x);
            glVertex3fv(&farRing.vertices[k + 1].x);
            glTexCoord2fv(&farRing.texCoords[k].x);
            glVertex3fv(&farRing.vertices[k].x);

            glTexCoord2fv(&farRing.texCoords[k].x);
            glVertex3fv(&farRing.vertices[k].x);
            glTexCoord2fv(&nearRing.texCoords[k].x);
            glVertex3fv(&nearRing.vertices[k].x);
            glTexCoord2fv(&nearRing.texCoords[k + 1].x);
            glVertex3fv(&nearRing.vertices[k + 1].x);
        }
        // The seam closes the ring with vertex 0 under the last texture column, u = r / (r + 1).
        glTexCoord2fv(&nearRing.texCoords[r].x);
        glVertex3fv(&nearRing.vertices[0].x);
        glTexCoord2fv(&farRing.texCoords[r].x);
        glVertex3fv(&farRing.vertices[0].x);
        glTexCoord2fv(&farRing.texCoords[r - 1].x);
        glVertex3fv(&farRing.vertices[r - 1].x);

        glTexCoord2fv(&farRing.texCoords[r - 1].x);
        glVertex3fv(&farRing.vertices[r - 1].x);
        glTexCoord2fv(&nearRing.texCoords[r - 1].x);
        glVertex3fv(&nearRing.vertices[r - 1].x);
        glTexCoord2fv(&nearRing.texCoords[r].x);
        glVertex3fv(&nearRing.vertices[0].x);
    }
    glEnd();
    texture->disable();
    glPopMatrix();
}

void Tunnel::setFog() const {
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glFogfv(GL_FOG_COLOR, black);
    glFogf(GL_FOG_START, 1.0f);
    glFogf(GL_FOG_END, spacing);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glDisable(GL_FOG);
}
