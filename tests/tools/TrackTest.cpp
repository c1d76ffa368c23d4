// Checks of the generated soundtrack data/mixdown.mp3, loaded and read through Music and the sound
// layer as the demo does: format, level, start, end, and how the spectrum entries that the
// scenes read move in every part of the timeline.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "main/Schedule.h"
#include "trackplot/TrackProbe.h"

namespace {

const int RATE = 44100;

const TrackProbe& track() {
    static TrackProbe* probe = nullptr;
    if (!probe) {
        probe = new TrackProbe();
        probe->load(VQ_DATA_DIR "/mixdown.mp3");
    }
    return *probe;
}

float quantile(std::vector<float> v, float q) {
    size_t i = static_cast<size_t>(q * static_cast<float>(v.size() - 1));
    std::nth_element(v.begin(), v.begin() + i, v.end());
    return v[i];
}

// One entry's values over a section, read every 512 frames.
struct SectionSeries {
    std::vector<std::vector<float>> entry; // [entry][time]
};

SectionSeries sample(int section) {
    SectionSeries s;
    s.entry.resize(TrackProbe::ENTRIES);
    float spectrum[TrackProbe::ENTRIES];
    const long long from = static_cast<long long>(Schedule::slots[section].start * RATE) + 1024;
    const long long to = static_cast<long long>(Schedule::slots[section].end * RATE);
    for (long long f = from; f < to; f += 512) {
        track().spectrumAt(f, spectrum);
        for (int k = 0; k < TrackProbe::ENTRIES; ++k) {
            s.entry[k].push_back(spectrum[k]);
        }
    }
    return s;
}

// The entries the scenes read: the tunnel camera, the title cards, the bars.
std::vector<int> sceneEntries() {
    std::vector<int> e = {3, 4};
    for (int k = 42; k <= 59; ++k) {
        e.push_back(k);
    }
    for (int k = 0; k < 500; k += 10) {
        e.push_back(k);
    }
    return e;
}

} // namespace

TEST(TrackTest, IsA267SecondStereo192kConstantBitrateMp3DecodedGapless) {
    ASSERT_TRUE(track().frames() > 0) << "cannot decode " VQ_DATA_DIR "/mixdown.mp3";
    EXPECT_EQ(track().rate(), RATE);
    EXPECT_EQ(track().channels(), 2);
    EXPECT_EQ(track().bitrate(), 192);
    EXPECT_TRUE(track().constantBitrate());
    // The encoder's delay and padding are removed: exactly the rendered 267 s come back.
    EXPECT_EQ(track().frames(), 267LL * RATE);
}

TEST(TrackTest, PeaksStayAtOrBelowMinusOneDbfsWithoutClipping) {
    ASSERT_GT(track().frames(), 0);
    const std::vector<int16_t>& pcm = track().samples();
    int peak = 0;
    for (int16_t s : pcm) {
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    }
    // -1 dBFS of 16-bit full scale.
    const int ceiling = static_cast<int>(32768.0 * std::pow(10.0, -1.0 / 20.0));
    EXPECT_LE(peak, ceiling);
    // A finished master: the loudest parts come within 3 dB of the ceiling.
    EXPECT_GE(peak, ceiling * 0.7);
}

TEST(TrackTest, SoundsFromTheFirstMomentWithEnergyInEntry20) {
    ASSERT_GT(track().frames(), 0);
    const std::vector<int16_t>& pcm = track().samples();
    long long first = -1;
    for (size_t i = 0; i < pcm.size(); ++i) {
        if (std::abs(static_cast<int>(pcm[i])) > 32) {
            first = static_cast<long long>(i / 2);
            break;
        }
    }
    ASSERT_GE(first, 0);
    EXPECT_LT(first, RATE * 50 / 1000);
    // The start-up wait ends on the first spectrum with entry 20 non-zero: already at 5 ms,
    // and clearly at 23 and 50 ms.
    float s[TrackProbe::ENTRIES];
    track().spectrumAt(220, s);
    EXPECT_GT(s[20], 0.001f);
    for (long long at : {1024LL, 2205LL}) {
        track().spectrumAt(at, s);
        EXPECT_GT(s[20], 0.02f) << "at frame " << at;
    }
    // Before anything is audible the spectrum is silent.
    track().spectrumAt(0, s);
    EXPECT_EQ(s[20], 0.0f);
}

TEST(TrackTest, FadesOutBy266Seconds) {
    ASSERT_GT(track().frames(), 0);
    const std::vector<int16_t>& pcm = track().samples();
    auto peakBetween = [&](double a, double b) {
        int peak = 0;
        for (long long f = static_cast<long long>(a * RATE); f < static_cast<long long>(b * RATE);
             ++f) {
            peak = std::max({peak, std::abs(static_cast<int>(pcm[2 * f])),
                             std::abs(static_cast<int>(pcm[2 * f + 1]))});
        }
        return peak;
    };
    EXPECT_GT(peakBetween(250.0, 255.0), 8000);
    EXPECT_LT(peakBetween(265.5, 267.0), 100);
}

TEST(TrackTest, SceneEntriesMoveWithinEverySection) {
    ASSERT_GT(track().frames(), 0);
    for (int section = 0; section < Schedule::SLOT_COUNT; ++section) {
        const SectionSeries s = sample(section);
        for (int k : sceneEntries()) {
            const float low = quantile(s.entry[k], 0.1f);
            const float high = quantile(s.entry[k], 0.9f);
            // Moving means the busy moments read clearly above the quiet ones.
            EXPECT_GT(high - low, 0.002f)
                << "entry " << k << " from " << Schedule::slots[section].start << " s";
            EXPECT_GT(high, 1.5f * low)
                << "entry " << k << " from " << Schedule::slots[section].start << " s";
        }
    }
}

TEST(TrackTest, LevelsSuitTheScenes) {
    ASSERT_GT(track().frames(), 0);
    for (int section = 0; section < Schedule::SLOT_COUNT; ++section) {
        const SectionSeries s = sample(section);
        const char* where = section == 0 ? "opening" : "later section";
        // Tunnel camera: entries 3 and 4 pulse, mostly small, never saturating.
        for (int k : {3, 4}) {
            EXPECT_GE(quantile(s.entry[k], 0.9f), 0.1f)
                << k << " " << Schedule::slots[section].start;
            EXPECT_LE(quantile(s.entry[k], 0.5f), 0.3f)
                << k << " " << Schedule::slots[section].start;
            EXPECT_LE(*std::max_element(s.entry[k].begin(), s.entry[k].end()), 0.9f);
        }
        // Bars up to 2.6 kHz (entries 0-60) stand between 0.02 and 0.6 most of the time, with
        // peaks up to about 0.8; the higher ones, fed by hats and cymbals, flicker lower.
        float peak = 0.0f;
        for (int k = 0; k < 500; k += 10) {
            const float p90 = quantile(s.entry[k], 0.9f);
            EXPECT_GE(p90, k <= 60 ? 0.02f : 0.002f)
                << "bar entry " << k << " " << where << " " << Schedule::slots[section].start;
            EXPECT_LE(p90, 0.6f) << "bar entry " << k << " " << Schedule::slots[section].start;
            peak = std::max(peak, *std::max_element(s.entry[k].begin(), s.entry[k].end()));
        }
        EXPECT_GE(peak, 0.3f) << Schedule::slots[section].start;
        EXPECT_LE(peak, 0.85f) << Schedule::slots[section].start;
    }
}

TEST(TrackTest, WholeRowOfBarsDancesUnderTheBarScenes) {
    ASSERT_GT(track().frames(), 0);
    // The groove (26-90 s) and the bright part (170-194 s) are under the scenes with the bars.
    for (int section : {1, 4}) {
        const SectionSeries s = sample(section);
        float midPeaks = 0.0f;
        float highPeaks = 0.0f;
        for (int bar = 0; bar < 50; ++bar) {
            const std::vector<float>& v = s.entry[10 * bar];
            const float peak = *std::max_element(v.begin(), v.end());
            // Every bar rises well above the 0.004-0.007 that hats alone give, and does so again
            // and again:
            // count the times it climbs through 0.03 (a third of a unit in the scenes).
            int rises = 0;
            for (size_t i = 1; i < v.size(); ++i) {
                rises += v[i - 1] < 0.03f && v[i] >= 0.03f ? 1 : 0;
            }
            EXPECT_GE(peak, 0.035f)
                << "bar " << bar << " from " << Schedule::slots[section].start << " s";
            EXPECT_LE(peak, 0.85f)
                << "bar " << bar << " from " << Schedule::slots[section].start << " s";
            EXPECT_GE(rises, bar == 0 ? 1 : 5)
                << "bar " << bar << " from " << Schedule::slots[section].start;
            // Bars 10-23 (4-10 kHz) against bars 33-49 (above 14 kHz).
            midPeaks += bar >= 10 && bar <= 23 ? peak / 14.0f : 0.0f;
            highPeaks += bar >= 33 ? peak / 17.0f : 0.0f;
        }
        // The high bars, which hardly anyone hears, carry the level; the keen band stays gentle.
        EXPECT_GE(highPeaks, 0.12f) << Schedule::slots[section].start;
        EXPECT_GT(highPeaks, 2.0f * midPeaks) << Schedule::slots[section].start;
        EXPECT_LE(midPeaks, 0.12f) << Schedule::slots[section].start;
    }
}

TEST(TrackTest, TitleCardEntriesTrembleOnTheBeatOfTheOpening) {
    ASSERT_GT(track().frames(), 0);
    // At each beat of the opening (the window ending 20 ms after it), the card entries 42-59.
    float s[TrackProbe::ENTRIES];
    std::vector<float> onBeat;
    std::vector<float> offBeat;
    for (double t = 0.02; t < 26.0; t += 0.5) {
        float on = 0.0f;
        float off = 0.0f;
        track().spectrumAt(static_cast<long long>(t * RATE), s);
        for (int k = 42; k <= 59; ++k) {
            on += s[k] / 18.0f;
        }
        track().spectrumAt(static_cast<long long>((t + 0.25) * RATE), s);
        for (int k = 42; k <= 59; ++k) {
            off += s[k] / 18.0f;
        }
        onBeat.push_back(on);
        offBeat.push_back(off);
    }
    const float typical = quantile(onBeat, 0.5f);
    EXPECT_GE(typical, 0.05f);
    EXPECT_LE(typical, 0.15f);
    // The beat stands out: between the beats the corners settle back.
    EXPECT_GT(typical, 1.5f * quantile(offBeat, 0.5f));
}
