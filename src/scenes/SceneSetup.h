// The lazy scenes' one-time OpenGL set-up and the full-screen overlay pass they share.
#pragma once

class Texture;

class SceneSetup {
  public:
    // 4/3 as the single-precision value widened to double, and as a double.
    static const double ASPECT_FLOAT;
    static const double ASPECT_DOUBLE;

    SceneSetup(double nearPlane, double aspect, float eyeX, float eyeY, float eyeZ, float centreX,
               float centreY, float centreZ);

    // The card camera: eye at (0, 0, 10) looking at the origin, near plane 1, float aspect.
    static SceneSetup cards();
    // The spectrum-bar camera: as the cards' with the aspect in double precision.
    static SceneSetup bars();

    // 800 x 600 viewport at the lower-left corner (the render scale's region in a larger
    // frame), perspective, look-at with y up, black clear colour, smooth shading, depth test,
    // counter-clockwise front faces, back faces culled. Leaves the matrix mode at modelview.
    void apply() const;

    // A texture over the whole 800 x 600 frame, (0, 0) at its top-left corner, alpha blended,
    // under the modelview in force and the current colour. Leaves blending and texturing off,
    // both matrix stacks as found and the matrix mode at modelview.
    static void drawOverlay(Texture* texture);

    // One quad over the whole 800 x 600 frame in screen units (y downwards) at depth z,
    // texture (0, 0) at its top-left corner, wound counter-clockwise on screen.
    static void drawScreenQuad(float z);

    double nearPlane;
    double aspect;
    float eye[3];
    float centre[3];
};
