// The texture rectangle's construction and the cross product.
#include "math/Vector.h"

UVrect::UVrect() : corners() {}

Vector3<float> crossProduct(Vector3<float>& a, Vector3<float>& b) {
    Vector3<float> result(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
    result.normalize();
    return result;
}
