// trackplot: draws the sound layer's spectrum of an MP3 over time to a PNG, for looking at a
// track.
// Usage: trackplot TRACK.mp3 OUT.png [FROM_S TO_S]
//        trackplot TRACK.mp3 --levels   (a table of typical levels per section)
// Top half: every entry (bottom = entry 0) against time, brightness = magnitude in dB.
// Bottom half: traces of entries 3, 4, 20, mean of 42-59 and a few bar entries, 0..1 up.
#include <FreeImage.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "main/Schedule.h"
#include "trackplot/TrackProbe.h"

namespace {

const int WIDTH = 1600;
const int MAP_HEIGHT = 512;
const int TRACE_HEIGHT = 300;

void plotTrace(FIBITMAP* img, int x, float v, int r, int g, int b) {
    int y = static_cast<int>((v > 1.0f ? 1.0f : v) * (TRACE_HEIGHT - 1));
    RGBQUAD c = {static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 255};
    FreeImage_SetPixelColor(img, x, y, &c);
    FreeImage_SetPixelColor(img, x, y + 1 < TRACE_HEIGHT ? y + 1 : y, &c);
}

// The value below which a share `q` of `v` lies.
float quantile(std::vector<float> v, float q) {
    if (v.empty()) {
        return 0.0f;
    }
    size_t i = static_cast<size_t>(q * static_cast<float>(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + i, v.end());
    return v[i];
}

// Per section: entries 3 and 4 (median, 90th percentile, max), the card entries 42-59 on the
// beats (mean over the 18 entries: median and 90th percentile over the beats), the 90th
// percentile of the bars' entries 0 to 60, the median of the 90th percentiles of the bars'
// entries 70 to 490, and the largest value of any bar entry. Then every bar's own largest value,
// 90th percentile and median, section by section.
void printLevels(const TrackProbe& probe) {
    float s[TrackProbe::ENTRIES];
    std::vector<std::vector<float>> perBar[Schedule::SLOT_COUNT];
    printf("section  e3 p50/p90/max     e4 p50/p90/max     cards@beat p50/p90  "
           "bars 0..60 p90                       70..490 p90  max\n");
    for (int c = 0; c < Schedule::SLOT_COUNT; ++c) {
        std::vector<float> e3, e4, beat;
        std::vector<std::vector<float>> bars(50);
        const long long a = static_cast<long long>(Schedule::slots[c].start * probe.rate());
        const long long b = static_cast<long long>(Schedule::slots[c].end * probe.rate());
        for (long long f = a + 1024; f < b; f += 512) {
            probe.spectrumAt(f, s);
            e3.push_back(s[3]);
            e4.push_back(s[4]);
            for (int i = 0; i < 50; ++i) {
                bars[i].push_back(s[10 * i]);
            }
        }
        // Beats every half second; the window ends 20 ms after the beat.
        for (double t = Schedule::slots[c].start + 0.02; t < Schedule::slots[c].end; t += 0.5) {
            probe.spectrumAt(static_cast<long long>(t * probe.rate()), s);
            float m = 0.0f;
            for (int k = 42; k <= 59; ++k) {
                m += s[k] / 18.0f;
            }
            beat.push_back(m);
        }
        std::vector<float> upper;
        float peak = 0.0f;
        for (int i = 0; i < 50; ++i) {
            peak = std::max(peak, *std::max_element(bars[i].begin(), bars[i].end()));
            if (i >= 7) {
                upper.push_back(quantile(bars[i], 0.9f));
            }
        }
        printf("%3.0f-%3.0f  %.3f/%.3f/%.3f  %.3f/%.3f/%.3f  %.3f/%.3f        ",
               Schedule::slots[c].start, Schedule::slots[c].end, quantile(e3, 0.5f),
               quantile(e3, 0.9f), *std::max_element(e3.begin(), e3.end()), quantile(e4, 0.5f),
               quantile(e4, 0.9f), *std::max_element(e4.begin(), e4.end()), quantile(beat, 0.5f),
               quantile(beat, 0.9f));
        for (int i = 0; i <= 6; ++i) {
            printf("%.3f ", quantile(bars[i], 0.9f));
        }
        printf("  %.4f      %.3f\n", quantile(upper, 0.5f), peak);
        perBar[c] = bars;
    }
    // Every bar on its own: largest value, 90th percentile and median, in hundredths.
    for (int c = 0; c < Schedule::SLOT_COUNT; ++c) {
        static const float SHARES[3] = {1.0f, 0.9f, 0.5f};
        static const char* const NAMES[3] = {"max", "p90", "p50"};
        for (int q = 0; q < 3; ++q) {
            printf("%3.0f-%3.0f bars %s x100:", Schedule::slots[c].start, Schedule::slots[c].end,
                   NAMES[q]);
            for (int i = 0; i < 50; ++i) {
                printf("%s%3.0f", i % 10 == 0 ? " |" : "",
                       100.0f * quantile(perBar[c][i], SHARES[q]));
            }
            printf("\n");
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5) {
        fprintf(stderr, "usage: trackplot TRACK.mp3 OUT.png [FROM_S TO_S]\n");
        return 2;
    }
    TrackProbe probe;
    if (!probe.load(argv[1])) {
        fprintf(stderr, "trackplot: cannot decode %s\n", argv[1]);
        return 1;
    }
    if (strcmp(argv[2], "--levels") == 0) {
        printLevels(probe);
        return 0;
    }
    const double from = argc == 5 ? atof(argv[3]) : 0.0;
    const double to =
        argc == 5 ? atof(argv[4]) : static_cast<double>(probe.frames()) / probe.rate();
    FreeImage_Initialise(FALSE);
    FIBITMAP* img = FreeImage_Allocate(WIDTH, MAP_HEIGHT + TRACE_HEIGHT, 24);
    float s[TrackProbe::ENTRIES];
    for (int x = 0; x < WIDTH; ++x) {
        const double t = from + (to - from) * x / WIDTH;
        probe.spectrumAt(static_cast<long long>(t * probe.rate()), s);
        for (int k = 0; k < TrackProbe::ENTRIES; ++k) {
            // 80 dB of range: 1e-4 is black, 1 is white.
            float v = s[k] > 1.0e-4f ? (std::log10(s[k]) + 4.0f) / 4.0f : 0.0f;
            BYTE g = static_cast<BYTE>(v > 1.0f ? 255 : v * 255.0f);
            RGBQUAD c = {g, g, static_cast<BYTE>(k % 10 == 0 ? (g > 60 ? g : 60) : g), 255};
            FreeImage_SetPixelColor(img, x, TRACE_HEIGHT + k, &c);
        }
        float cards = 0.0f;
        for (int k = 42; k <= 59; ++k) {
            cards += s[k] / 18.0f;
        }
        plotTrace(img, x, s[3], 255, 60, 60);
        plotTrace(img, x, s[4], 255, 160, 0);
        plotTrace(img, x, s[20], 60, 255, 60);
        plotTrace(img, x, cards, 80, 140, 255);
        plotTrace(img, x, s[100], 255, 255, 255);
        plotTrace(img, x, s[250], 200, 0, 255);
    }
    bool ok = FreeImage_Save(FIF_PNG, img, argv[2]);
    FreeImage_Unload(img);
    FreeImage_DeInitialise();
    return ok ? 0 : 1;
}
