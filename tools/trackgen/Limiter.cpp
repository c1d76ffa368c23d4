// Look-ahead peak limiter working on the whole rendered track.
#include "trackgen/Limiter.h"

#include <cmath>
#include <deque>
#include <vector>

#include "trackgen/Dsp.h"

Limiter::Limiter(float ceilingLevel, float lookahead, float release)
    : ceiling(ceilingLevel), window(static_cast<int>(lookahead * dsp::SR)),
      releaseCoef(dsp::onePoleCoef(release)) {}

void Limiter::process(StereoBuffer& buffer) const {
    const size_t n = buffer.size();
    // The gain each sample needs on its own.
    std::vector<float> need(n);
    for (size_t i = 0; i < n; ++i) {
        float peak = std::fmax(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        need[i] = peak > ceiling ? ceiling / peak : 1.0f;
    }
    // Minimum over the next `window` samples (monotone queue), then a slow release upward.
    std::vector<float> gain(n);
    std::deque<size_t> queue;
    size_t ahead = 0;
    float held = 1.0f;
    for (size_t i = 0; i < n; ++i) {
        while (ahead < n && ahead <= i + window) {
            while (!queue.empty() && need[queue.back()] >= need[ahead]) {
                queue.pop_back();
            }
            queue.push_back(ahead++);
        }
        while (queue.front() < i) {
            queue.pop_front();
        }
        float target = need[queue.front()];
        held = target < held ? target : held + (target - held) * releaseCoef;
        gain[i] = held;
    }
    // A moving average over the same window: every averaged value is at most the need of the
    // sample being scaled, so the average is too, and the gain changes smoothly.
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        sum += gain[i];
        if (i >= static_cast<size_t>(window) + 1) {
            sum -= gain[i - window - 1];
        }
        size_t count = i < static_cast<size_t>(window) + 1 ? i + 1 : window + 1;
        float g = static_cast<float>(sum / count);
        // Rounding in the average must never lift a sample above its need.
        if (g > need[i]) {
            g = need[i];
        }
        buffer.left[i] *= g;
        buffer.right[i] *= g;
    }
}
