// The sound layer's costs: decoding a whole 266 s track beside ffmpeg, one spectrum, and
// the streamed track's load, play-through and seek.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "platform/Music.h"
#include "platform/sound/Mp3Decoder.h"
#include "platform/sound/SoundSeams.h"
#include "platform/sound/Track.h"
#include "support/SoundFiles.h"

namespace {

const int RATE = 44100;
const int SECONDS = 266;

// A 266 s, 192 kbps stereo track of drifting tones over quiet noise, made once per machine.
const std::string& longTrack() {
    static std::string path;
    if (!path.empty()) {
        return path;
    }
    path = "/tmp/vq_bench_track_266s_192k.mp3";
    FILE* f = fopen(path.c_str(), "rb");
    if (f) {
        fclose(f);
        return path;
    }
    std::vector<int16_t> pcm(static_cast<size_t>(SECONDS) * RATE * 2);
    unsigned noise = 12345u;
    for (size_t i = 0; i < pcm.size() / 2; ++i) {
        const double t = static_cast<double>(i) / RATE;
        noise = noise * 1664525u + 1013904223u;
        const double n = (static_cast<int>(noise >> 16) - 32768) / 32768.0;
        const double left = 0.3 * std::sin(2.0 * M_PI * (220.0 + 20.0 * std::sin(t)) * t) +
                            0.2 * std::sin(2.0 * M_PI * 904.0 * t) + 0.05 * n;
        const double right = 0.3 * std::sin(2.0 * M_PI * 330.0 * t) + 0.05 * n;
        pcm[2 * i] = static_cast<int16_t>(left * 32767.0);
        pcm[2 * i + 1] = static_cast<int16_t>(right * 32767.0);
    }
    if (!soundfiles::writeMp3(path, pcm, 2, RATE, 192)) {
        path.clear();
    }
    return path;
}

// Opens the file as the layer does and reads every frame of it in order; false if it fails.
bool decodeWhole(const std::string& path, long long* frames) {
    Track track;
    if (Mp3Decoder::open(path.c_str(), &track) != LoadResult::OK) {
        return false;
    }
    std::vector<int16_t> block(65536 * 2);
    for (long long at = 0; at < track.frames(); at += 65536) {
        track.read(at, 65536, block.data());
    }
    benchmark::DoNotOptimize(block.data());
    *frames = track.frames();
    return true;
}

void BM_DecodeWholeMp3(benchmark::State& state) {
    const std::string& path = longTrack();
    long long frames = 0;
    for (auto _ : state) {
        if (!decodeWhole(path, &frames)) {
            state.SkipWithError("decode failed");
            return;
        }
    }
    state.counters["seconds_of_sound"] = static_cast<double>(frames) / RATE;
}
BENCHMARK(BM_DecodeWholeMp3)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The demo's own generated track, decoded from start to end.
void BM_DecodeMixdown(benchmark::State& state) {
    const std::string path = std::string(VQ_DATA_DIR) + "/mixdown.mp3";
    long long frames = 0;
    for (auto _ : state) {
        if (!decodeWhole(path, &frames)) {
            state.SkipWithError("no mixdown.mp3 in the data folder: build the data first");
            return;
        }
    }
}
BENCHMARK(BM_DecodeMixdown)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_FfmpegDecodeToNull(benchmark::State& state) {
    const std::string command = "ffmpeg -v quiet -i " + longTrack() + " -f null -";
    // ffmpeg's own processor time, which the CPU column (this process only) leaves out.
    rusage before = {};
    getrusage(RUSAGE_CHILDREN, &before);
    for (auto _ : state) {
        if (system(command.c_str()) != 0) {
            state.SkipWithError("ffmpeg failed");
            return;
        }
    }
    rusage after = {};
    getrusage(RUSAGE_CHILDREN, &after);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec * 1e-3; };
    const double cpu =
        ms(after.ru_utime) + ms(after.ru_stime) - ms(before.ru_utime) - ms(before.ru_stime);
    state.counters["ffmpeg_cpu_ms"] = cpu / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FfmpegDecodeToNull)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

void BM_Spectrum(benchmark::State& state) {
    soundlayer::useManualOutput(true);
    const std::string path = soundfiles::tempPath("bench_tone.wav");
    soundfiles::writeWav(path, soundfiles::sine(4.0, 1000.0, 0.5, 2, RATE), 2, RATE);
    Music* music = new Music();
    music->load(path, MP3); // the loader goes by the file's bytes: a WAV loads as a sample too
    remove(path.c_str());
    music->play();
    long long frame = 2048;
    for (auto _ : state) {
        soundlayer::setManualPosition(frame);
        benchmark::DoNotOptimize(music->getSpectrumBuffer()[20]);
        frame = frame < 4 * RATE - 735 ? frame + 735 : 2048; // a 60 fps step
    }
    delete music;
}
BENCHMARK(BM_Spectrum)->Unit(benchmark::kMicrosecond);

// The track as the layer plays it, through Music and the manual output: what loading costs
// before the first frame, what playing it through from start to end costs, and a jump to
// the end (a seek followed by a read there, as the preview and the capture make them).
Music* loadLongTrack() {
    soundlayer::useManualOutput(true);
    Music* music = new Music();
    music->load(longTrack(), MP3);
    return music;
}

void BM_LoadTrack(benchmark::State& state) {
    for (auto _ : state) {
        Music* music = loadLongTrack();
        if (!music->isLoaded()) {
            delete music;
            state.SkipWithError("load failed");
            return;
        }
        delete music;
    }
}
BENCHMARK(BM_LoadTrack)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_LoadAndPlayThroughTrack(benchmark::State& state) {
    std::vector<int16_t> block(1024 * 2);
    long long frames = 0;
    for (auto _ : state) {
        Music* music = loadLongTrack();
        music->play();
        frames = music->frames();
        for (long long at = 0; at < frames; at += 1024) {
            music->readFrames(at, 1024, block.data());
        }
        benchmark::DoNotOptimize(block.data());
        delete music;
    }
    state.counters["seconds_of_sound"] = static_cast<double>(frames) / RATE;
}
BENCHMARK(BM_LoadAndPlayThroughTrack)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SeekAndReadAtTheEnd(benchmark::State& state) {
    Music* music = loadLongTrack();
    music->play();
    std::vector<int16_t> block(1024 * 2);
    const long long end = music->frames() - 1024;
    // Each read lands far from the one before: the end, then the middle, then the end again.
    bool atEnd = true;
    for (auto _ : state) {
        music->readFrames(atEnd ? end : end / 2, 1024, block.data());
        benchmark::DoNotOptimize(block.data());
        atEnd = !atEnd;
    }
    delete music;
}
BENCHMARK(BM_SeekAndReadAtTheEnd)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
