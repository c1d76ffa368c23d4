// Frame-time figures per scene.
#include <cstdio>

#include "capture/FrameStats.h"

#include <algorithm>

namespace {

// The value below which the given share of the sorted times lies (nearest rank).
double percentile(const std::vector<double>& sorted, double share) {
    if (sorted.empty()) {
        return 0.0;
    }
    size_t rank = static_cast<size_t>(share * static_cast<double>(sorted.size()) + 0.999999);
    rank = std::min(std::max<size_t>(rank, 1), sorted.size());
    return sorted[rank - 1];
}

} // namespace

void FrameStats::add(const std::string& scene, double milliseconds) {
    std::vector<double>& list = times[scene];
    if (list.empty()) {
        order.push_back(scene);
    }
    list.push_back(milliseconds);
}

void FrameStats::print(FILE* out) const {
    fprintf(out, "%-14s %7s %10s %10s %10s\n", "scene", "frames", "median ms", "p95 ms", "max ms");
    for (const std::string& scene : order) {
        std::vector<double> sorted = times.at(scene);
        std::sort(sorted.begin(), sorted.end());
        fprintf(out, "%-14s %7zu %10.2f %10.2f %10.2f\n", scene.c_str(), sorted.size(),
                percentile(sorted, 0.5), percentile(sorted, 0.95), sorted.back());
    }
    fprintf(out, "loading: %.3f s\n", loadingSeconds);
}
