// A scoped screen-space pass: an orthographic projection over the frame for the lifetime of
// the object, both matrix stacks given back as found when it ends.
#pragma once

class ScreenSpace {
  public:
    enum Modelview {
        KEEP_MODELVIEW,    // the scene's camera stays: the quads lie at its distance
        IDENTITY_MODELVIEW // the quads are placed in eye space
    };

    // Pushes the projection and loads glOrtho(left, right, bottom, top, nearPlane, farPlane),
    // then pushes the modelview (loading the identity when asked). Leaves the matrix mode at
    // modelview.
    ScreenSpace(double left, double right, double bottom, double top, double nearPlane,
                double farPlane, Modelview modelview);
    // Pops the modelview, then the projection; leaves the matrix mode at modelview.
    ~ScreenSpace();

    ScreenSpace(const ScreenSpace&) = delete;
    ScreenSpace& operator=(const ScreenSpace&) = delete;

    // The overlay pass's units: x from 0 to 800 rightwards, y from 0 at the top to 600 at the
    // bottom, depth 1 to 1000 in front of the eye.
    [[nodiscard]] static ScreenSpace overlay(Modelview modelview);
};
