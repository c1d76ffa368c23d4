// Per-scene frame times of a capture run: count, median, 95th percentile and maximum.
#pragma once

#include <map>
#include <string>
#include <vector>

class FrameStats {
  public:
    FrameStats() : loadingSeconds(0.0), order(), times() {}

    void add(const std::string& scene, double milliseconds);
    // The table, one scene a line in the order first seen, then the loading time.
    void print(FILE* out) const;

    double loadingSeconds;

  private:
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> times;
};
