// The scroller's text copy, its motion and the glyph quads cut from the 13 x 4 font sheet.
#include "scenes/Scroll.h"

#include <GL/gl.h>

#include <cmath>
#include <cstring>
#include <new>

#include "image/RenderScale.h"

namespace {

const float TWO_PI = 2.0f * PI;    // 6.2831855f
const float SCROLL_SPEED = 200.0f; // units per second
const float COLUMNS = 13.0f;
const float ROW = 0.25f;
// The letters start a hair into their cells, the left edge of every quad one more.
const float LETTER_INSET = 0.0018f;
const float EDGE_INSET = 0.001f;

// Keeps a phase within one turn: one turn off for an ordinary step, the remainder after
// a step of several turns (a long stall).
float wrapPhase(float phase) {
    if (phase >= TWO_PI) {
        phase -= TWO_PI;
        if (phase >= TWO_PI) {
            phase = std::fmod(phase, TWO_PI);
        }
    }
    if (phase <= 0.0f) {
        phase += TWO_PI;
        if (phase <= 0.0f) {
            phase = std::fmod(phase, TWO_PI) + TWO_PI;
        }
    }
    return phase;
}

// Corner 0 lower-left, 1 lower-right, 2 upper-right, 3 upper-left of the glyph on screen.
void setRect(UVrect& r, float s0, float s1, float t0, float t1) {
    r.corners[0].set(s0, t0);
    r.corners[1].set(s1, t0);
    r.corners[2].set(s1, t1);
    r.corners[3].set(s0, t1);
}

void setCell(UVrect& r, int column, int row) {
    setRect(r, static_cast<float>(column) / COLUMNS, static_cast<float>(column + 1) / COLUMNS,
            static_cast<float>(row) * ROW, static_cast<float>(row + 1) * ROW);
}

} // namespace

Scroll::Scroll()
    : left(0.0f), bottom(0.0f), width(800.0f), height(300.0f), charWidth(32.0f), charHeight(52.0f),
      charSpacing(4.0f), waveSpeed(2.5f), ampSpeed(-0.1f), scrollX(800.0f), firstChar(0),
      textLength(0), text(nullptr), wavePhase(0.0f), ampPhase(0.5f), charUV() {
    initCharUV();
}

Scroll::~Scroll() {
    clear();
}

void Scroll::setText(const char* msg) {
    if (text) {
        clear();
    }
    if (!msg || msg[0] == '\0') {
        return;
    }
    const size_t length = std::strlen(msg);
    if (length > static_cast<size_t>(INT32_MAX) - 1) {
        return;
    }
    char* copy = new (std::nothrow) char[length + 1];
    if (!copy) {
        return;
    }
    std::memcpy(copy, msg, length + 1);
    text = copy;
    textLength = static_cast<int32_t>(length);
}

void Scroll::clear() {
    delete[] text;
    text = nullptr;
    textLength = 0;
    firstChar = 0;
    scrollX = 0.0f;
    wavePhase = 0.0f;
}

void Scroll::update(float dt) {
    wavePhase = wrapPhase(wavePhase + 2.0f * dt * waveSpeed);
    ampPhase = wrapPhase(ampPhase + dt * ampSpeed);

    scrollX -= SCROLL_SPEED * dt;

    // Once the first glyph is wholly past the left edge the next one takes its place; after
    // the last one the text comes in again from the right edge.
    const float advance = charWidth + charSpacing;
    if (left - advance > scrollX) {
        if (firstChar == textLength) {
            scrollX = left + width;
            firstChar = 0;
        } else {
            scrollX += advance;
            firstChar += 1;
        }
    }
}

void Scroll::render() const {
    renderString();
}

void Scroll::renderString() const {
    if (!text || textLength == 0) {
        return;
    }
    const float baseY = bottom + (height - charHeight) * 0.5f;
    const float amplitude = std::cos(ampPhase) * 0.3f * height;
    const float advance = charWidth + charSpacing;
    const float rightLimit = left + width + charWidth;

    glBegin(GL_QUADS);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (int32_t k = firstChar; k < textLength; ++k) {
        const float x = static_cast<float>(k - firstChar) * advance + scrollX;
        if (x > rightLimit) {
            continue;
        }
        // Each edge follows the wave at its own x, so the quad shears with it.
        const float yR = baseY + amplitude * std::sin((x + charWidth) * 0.01f + wavePhase);
        const float yL = baseY + amplitude * std::sin(x * 0.01f + wavePhase);
        const UVrect& r = charUV[static_cast<unsigned char>(text[k])];

        glTexCoord2fv(&r.corners[1].x);
        glVertex2f(x + charWidth, yR);
        glTexCoord2fv(&r.corners[2].x);
        glVertex2f(x + charWidth, yR + charHeight);
        glTexCoord2f(r.corners[3].x + EDGE_INSET, r.corners[3].y);
        glVertex2f(x, yL + charHeight);
        glTexCoord2f(r.corners[0].x + EDGE_INSET, r.corners[0].y);
        glVertex2f(x, yL);
    }
    glEnd();
}

void Scroll::renderFrame() const {
    const float right = left + width;
    const float top = bottom + height;
    RenderScale::lineWidth(1.0f);
    glBegin(GL_LINES);
    glColor3f(0.2f, 0.0f, 0.0f); // left edge, red
    glVertex2f(left, bottom);
    glColor3f(0.9f, 0.0f, 0.0f);
    glVertex2f(left, top);
    glColor3f(0.0f, 0.2f, 0.0f); // right edge, green
    glVertex2f(right, bottom);
    glColor3f(0.0f, 0.9f, 0.0f);
    glVertex2f(right, top);
    glColor3f(0.2f, 0.0f, 0.2f); // lower edge, magenta
    glVertex2f(left, bottom);
    glColor3f(0.9f, 0.0f, 0.9f);
    glVertex2f(right, bottom);
    glColor3f(0.0f, 0.0f, 0.2f); // upper edge, blue
    glVertex2f(left, top);
    glColor3f(0.0f, 0.0f, 0.9f);
    glVertex2f(right, top);
    glEnd();
}

void Scroll::renderStats() const {
    RenderScale::lineWidth(3.0f);
    glBegin(GL_LINES);
    glColor3f(1.0f, 1.0f, 0.0f);
    glVertex2f(scrollX, bottom + 0.45f * height);
    glVertex2f(scrollX, bottom + 0.55f * height);
    glEnd();
}

void Scroll::initCharUV() {
    // Without a cell of its own a byte shows the question mark.
    for (int code = 0; code < 256; ++code) {
        setCell(charUV[code], 12, 1);
    }
    // Letters: 65 and 78 are multiples of 13, so s runs past 1 and the repeat wrap brings it
    // back to columns 0 to 12; A to M in row 3, N to Z in row 2.
    for (int code = 'A'; code <= 'Z'; ++code) {
        const float s0 = static_cast<float>(code) / COLUMNS + LETTER_INSET;
        const float s1 = static_cast<float>(code + 1) / COLUMNS;
        if (code <= 'M') {
            setRect(charUV[code], s0, s1, 0.75f, 1.0f);
        } else {
            setRect(charUV[code], s0, s1, 0.5f, 0.75f);
        }
    }
    for (int code = '0'; code <= '9'; ++code) {
        setCell(charUV[code], code - '0', 1);
    }
    static const struct {
        unsigned char code;
        int column;
        int row;
    } cells[] = {{'"', 0, 0},  {'(', 1, 0}, {')', 2, 0},  {',', 3, 0},  {'-', 4, 0}, {'.', 5, 0},
                 {'\'', 6, 0}, {' ', 8, 0}, {':', 10, 1}, {'!', 11, 1}, {'?', 12, 1}};
    for (const auto& cell : cells) {
        setCell(charUV[cell.code], cell.column, cell.row);
    }
}
