// A stereo float signal of fixed length; the unit every instrument and effect writes into.
#pragma once

#include <cstddef>
#include <vector>

struct StereoBuffer {
    explicit StereoBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}

    size_t size() const { return left.size(); }
    // Adds a mono sample at `frame` with equal-power-ish pan gains; frames past the end are
    // dropped.
    void add(size_t frame, float l, float r) {
        if (frame < left.size()) {
            left[frame] += l;
            right[frame] += r;
        }
    }
    // Mixes `other` in at `gain`.
    void mix(const StereoBuffer& other, float gain) {
        for (size_t i = 0; i < left.size(); ++i) {
            left[i] += other.left[i] * gain;
            right[i] += other.right[i] * gain;
        }
    }

    std::vector<float> left;
    std::vector<float> right;
};

// Pan law: p from -1 (left) to 1 (right), gains sum to about 1.4 at centre.
struct Pan {
    explicit Pan(float p) : l(p <= 0.0f ? 1.0f : 1.0f - p), r(p >= 0.0f ? 1.0f : 1.0f + p) {}
    float l;
    float r;
};
