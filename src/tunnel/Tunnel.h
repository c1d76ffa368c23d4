// The tube of rings strung along a noise-driven path, re-walked every frame and drawn as points,
// wires or a textured surface.
#pragma once

#include "math/Vector.h"
#include "tunnel/Section.h"

class Music;
class Texture;

// Ring 0 sits at the origin; every step of the path is `spacing` long, its direction the +z
// axis turned about y and then about x by two noise lookups. The renderers draw in immediate
// mode under the modelview in force.
class Tunnel {
  public:
    // Loads "textures/tunnel.png" (needs the OpenGL context); builds no rings.
    explicit Tunnel(Music* music);
    ~Tunnel();

    Tunnel(const Tunnel&) = delete;
    Tunnel& operator=(const Tunnel&) = delete;

    // n + 1 rings of ringVertices vertices along a path of the given length. A failed
    // allocation (or n or ringVertices below 1) leaves the tunnel empty.
    void create(float length, float diameter, int n, int ringVertices);
    // Re-walks the path with the noise shifted by time * 0.1 and re-places every ring; ring 0
    // stays at the origin, untilted. Texture coordinates stay as create set them.
    void update(float time);

    // Ring centres as a blue line and points, every vertex as a white point, in pixel units of
    // the render scale. Leaves the line width and the point size at one unit and the current
    // colour white.
    void renderPoint();
    // Ring loops and lengthwise strips in yellow, one pixel unit wide, the tube turned back by
    // the mean angles of rings 0 and 25 (the last ring on a shorter tube). Leaves the line
    // width at one unit and the modelview as found.
    void renderWire();
    // White textured triangles, front faces outward for counter-clockwise front faces. Leaves
    // texturing off and the modelview as found.
    void renderSolid();
    // The fog the tunnel scenes draw with: black, linear, from 1 to the ring spacing. Fog
    // parameters are global state; fog itself is left off.
    void setFog() const;
    void clear();

    float length;
    float radius;
    int sectionCount;
    float spacing;
    int ringVertices;
    Section* sections;
    float scroll;
    Music* music;
    Texture* texture;

  private:
    // The centre one step of `spacing` on from p, in the direction +z turned by ay then ax.
    Vector3<float> pathStep(const Vector3<float>& p, float ax, float ay) const;

    // The untilted circle of radius `radius` that every ring is turned from (owned).
    Vector2<float>* circle;
};
