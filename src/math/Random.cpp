// The random wrappers: a 15-bit draw whatever the width of rand().
#include "math/Random.h"

#include <cstdlib>

namespace {

// 0 to 32767 from rand(): a wider generator gives its top 15 bits (the low bits of some
// generators are the weak ones), so RND and URND keep their ranges.
int draw15() {
    const unsigned long span = static_cast<unsigned long>(RAND_MAX) + 1ul;
    const unsigned long r = static_cast<unsigned long>(std::rand());
    if (span <= 32768ul) {
        return static_cast<int>(r);
    }
    const unsigned long v = r / (span / 32768ul);
    return static_cast<int>(v < 32767ul ? v : 32767ul); // a span that is no power of two
}

} // namespace

void randomize(long seed) {
    std::srand(static_cast<unsigned int>(seed));
}

float RND() {
    return static_cast<float>(draw15() / 16384.0 - 1.0);
}

float URND() {
    return static_cast<float>(draw15() / 32768.0);
}
