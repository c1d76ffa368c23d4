// The drawing shared by the card scenes: one textured, alpha-blended quad facing the camera.
#pragma once

class Texture;

class Card {
  public:
    // Corners (x, y) in drawing order: top-left, bottom-left, bottom-right, top-right, all in
    // the plane z. The image shows upright; the quad writes depth over its whole area, also
    // where the image is transparent. Leaves blending and texturing off.
    static void draw(Texture* texture, const float corners[4][2], float z);

    // The frame around a card scene's cards: cleared to black, the modelview pushed, the colour
    // white; endFrame pops the modelview again.
    static void beginFrame();
    static void endFrame();
};
