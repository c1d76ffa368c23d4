// Loading every generated picture as the scenes do: decode, channel swap, flip, mipmaps.
#include <benchmark/benchmark.h>
#include <dirent.h>

#include <string>
#include <vector>

#include "image/Texture.h"
#include "support/GLContext.h"

namespace {

std::vector<std::string> pictures() {
    std::vector<std::string> names;
    const std::string folder = std::string(VQ_DATA_DIR) + "/textures";
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.size() > 4 && name.substr(name.size() - 4) == ".png") {
                names.push_back(folder + "/" + name);
            }
        }
        closedir(dir);
    }
    return names;
}

void LoadAllPictures(benchmark::State& state) {
    gltest::openDisplay();
    const std::vector<std::string> names = pictures();
    if (names.empty()) {
        state.SkipWithError("no pictures in the data folder: build the data first");
        return;
    }
    for (auto _ : state) {
        for (const std::string& name : names) {
            Texture texture(name);
            benchmark::DoNotOptimize(texture.textureId);
        }
    }
    state.counters["pictures"] = static_cast<double>(names.size());
}
BENCHMARK(LoadAllPictures)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

BENCHMARK_MAIN();
