// Power-of-two rounding of picture sides.
#include "assetgen/Sides.h"

#include <cmath>

int Sides::roundUp(float v) {
    int p = 1;
    while (p < v && p < MAX) {
        p *= 2;
    }
    return p;
}

int Sides::nearest(float v) {
    int p = 1;
    // Compare against the geometric midpoint between p and 2p.
    while (p < MAX && v > p * 1.41421356f) {
        p *= 2;
    }
    return p;
}
