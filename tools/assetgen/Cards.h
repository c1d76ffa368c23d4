// Word cards: lettering laid out on a transparent picture whose aspect differs from the quad
// it is stretched over, so the letters are pre-squeezed to look right on screen.
#pragma once

#include <string>

#include "assetgen/Canvas.h"
#include "assetgen/FontSet.h"
#include "assetgen/WordArt.h"

enum class Face { Bold, Condensed, SerifItalic };

struct CardLayout {
    std::string text;
    float quadWidth = 1.0f; // the card's quad on screen, in world units
    float quadHeight = 1.0f;
    Face face = Face::Bold;
    LetterStyle style;
    float maxEm = 100.0f; // largest em in world units, so short words do not balloon
    // Texels per world unit: about what the card shows on screen at its nearest in a frame 600
    // lines tall, so that no texture holds far more detail than the screen can show (they all
    // stay in memory).
    float texelsPerUnit = 200.0f;
    // The frame height the card is made for over 600: its texels and its lettering grow with it.
    float scale = 1.0f;
};

class Cards {
  public:
    // Power-of-two sides (256 to Sides::MAX on the long side) whose ratio is the power of two
    // nearest the quad's.
    static void pictureSize(float quadWidth, float quadHeight, float texelsPerUnit, int& width,
                            int& height);
    static Canvas makeCard(const CardLayout& layout, const FontSet& fonts);
    static Canvas makeSmiley(float quadWidth, float quadHeight, float texelsPerUnit);

    // The looks shared by several cards.
    static LetterStyle chrome();
    static LetterStyle gold();
    static LetterStyle amber();
    static LetterStyle pale();
    static LetterStyle red();
};
