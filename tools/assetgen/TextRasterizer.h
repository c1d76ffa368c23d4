// Lettering through FreeType: a string laid out with kerning and tracking into a coverage mask.
#pragma once

#include <string>

#include "assetgen/Mask.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

class TextRasterizer {
  public:
    // Loads the face from a TrueType file; ok() tells whether that worked.
    explicit TextRasterizer(const std::string& fontFile);
    ~TextRasterizer();
    TextRasterizer(const TextRasterizer&) = delete;
    TextRasterizer& operator=(const TextRasterizer&) = delete;

    bool ok() const { return face != nullptr; }

    // The string at the given em size in pixels, with `tracking` extra em between letters and
    // `padding` empty pixels on every side (room for glows and outlines). baseline receives
    // the row of the base line; capHeight the height of a capital in pixels.
    Mask render(const std::string& text, int emPixels, float tracking, int padding, int& baseline,
                int& capHeight) const;

  private:
    FT_LibraryRec_* library = nullptr;
    FT_FaceRec_* face = nullptr;
};
