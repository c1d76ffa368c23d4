// Comb and all-pass reverb.
#include "trackgen/Reverb.h"

#include <thread>
#include <vector>

namespace {

// Lengths in samples at 44.1 kHz; the right channel adds `spread` for width.
const int COMBS[6] = {1116, 1188, 1277, 1356, 1422, 1491};
const int ALLPASSES[3] = {556, 441, 341};

} // namespace

StereoBuffer Reverb::process(const StereoBuffer& send) const {
    const size_t n = send.size();
    std::vector<float> mono(n);
    for (size_t i = 0; i < n; ++i) {
        mono[i] = 0.5f * (send.left[i] + send.right[i]);
    }
    StereoBuffer wet(n);
    // The channels share nothing but the input: one of them runs on a second thread.
    std::thread right([&] { processChannel(mono, wet.right, 23); });
    processChannel(mono, wet.left, 0);
    right.join();
    return wet;
}

void Reverb::processChannel(const std::vector<float>& mono, std::vector<float>& out,
                            int spread) const {
    const size_t n = mono.size();
    for (int c = 0; c < 6; ++c) {
        std::vector<float> line(COMBS[c] + spread, 0.0f);
        size_t pos = 0;
        float store = 0.0f;
        for (size_t i = 0; i < n; ++i) {
            float y = line[pos];
            store = y * (1.0f - damp) + store * damp;
            line[pos] = mono[i] * 0.06f + store * room;
            if (++pos == line.size()) {
                pos = 0;
            }
            out[i] += y;
        }
    }
    for (int a = 0; a < 3; ++a) {
        std::vector<float> line(ALLPASSES[a] + spread, 0.0f);
        size_t pos = 0;
        for (size_t i = 0; i < n; ++i) {
            float b = line[pos];
            line[pos] = out[i] + b * 0.5f;
            out[i] = b - out[i];
            if (++pos == line.size()) {
                pos = 0;
            }
        }
    }
}
