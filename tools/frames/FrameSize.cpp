// Reading "WxH" without the number parsers' leniency (signs, spaces, exponents, overflow).
#include "FrameSize.h"

bool FrameSize::parse(const char* text, int& width, int& height) {
    long long sides[2] = {0, 0};
    int side = 0;
    int digits = 0;
    for (const char* c = text;; ++c) {
        if (*c >= '0' && *c <= '9') {
            // Seven digits and more are past any limit: stop before the number overflows.
            if (++digits > 6) {
                return false;
            }
            sides[side] = sides[side] * 10 + (*c - '0');
        } else if ((*c == 'x' && side == 0) || *c == '\0') {
            if (digits == 0 || sides[side] < 1 || sides[side] > MAX_SIDE) {
                return false;
            }
            if (*c == '\0') {
                break;
            }
            side = 1;
            digits = 0;
        } else {
            return false;
        }
    }
    if (side != 1) {
        return false;
    }
    width = static_cast<int>(sides[0]);
    height = static_cast<int>(sides[1]);
    return true;
}
