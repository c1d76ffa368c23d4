// One ring of the tunnel: a tilted circle of vertices around a centre and its row of texture
// coordinates.
#pragma once

#include "math/Vector.h"

// The ring starts on the local +x axis and runs counter-clockwise seen from local +z; the
// local z axis, turned about y by angleY and then about x by angleX, is the ring's axis.
// The section does not keep its vertex count: the owner passes the same n to every call.
class Section {
  public:
    Section();
    ~Section();

    Section(const Section&) = delete;
    Section& operator=(const Section&) = delete;

    // (Re)builds the ring with n vertices and n + 1 texture coordinates (u = i / (n + 1), v = 0;
    // entry n belongs to the seam). False, and the section empty, when allocation fails.
    bool create(int n, float radius, const Vector3<float>& centre, float angleX, float angleY);
    // Re-places a built ring; the texture coordinates stay. Does nothing on an empty section.
    void change(int n, float radius, const Vector3<float>& centre, float angleX, float angleY);
    // change() with the untilted circle given: circle[i] = circlePoint(i, step, radius). The
    // same bits without n sines and cosines per ring.
    void change(int n, const Vector2<float>* circle, const Vector3<float>& centre, float angleX,
                float angleY);
    void clear();

    // The angle step between vertices, in radians, and vertex i of the untilted ring.
    static float circleStep(int n);
    static Vector2<float> circlePoint(int i, float step, float radius);

    Vector3<float>* vertices;
    Vector2<float>* texCoords;
    Vector3<float> position;
    float angleX; // degrees
    float angleY; // degrees

  private:
    void place(int n, const Vector2<float>* circle, float radius, const Vector3<float>& centre,
               float newAngleX, float newAngleY);
};
