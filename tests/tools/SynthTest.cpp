// Checks of the track generator's parts: limiter, oscillator, envelope, composition and encoder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sound/FrequencyAnalyser.h"
#include "platform/sound/Track.h"
#include "trackgen/Bass.h"
#include "trackgen/Bell.h"
#include "trackgen/Chime.h"
#include "trackgen/Composer.h"
#include "trackgen/Delay.h"
#include "trackgen/Envelope.h"
#include "trackgen/HiHat.h"
#include "trackgen/Kick.h"
#include "trackgen/Lead.h"
#include "trackgen/Limiter.h"
#include "trackgen/Mp3Peak.h"
#include "trackgen/Mp3Writer.h"
#include "trackgen/Oscillator.h"
#include "trackgen/Pad.h"
#include "trackgen/Pluck.h"
#include "trackgen/Reverb.h"
#include "trackgen/Rng.h"
#include "trackgen/Snare.h"
#include "trackgen/Sparkle.h"

TEST(SynthTest, LimiterHoldsTheCeilingAheadOfPeaksAndLeavesQuietSignalAlone) {
    const size_t n = 44100;
    StereoBuffer loud(n);
    Rng rng(7);
    for (size_t i = 0; i < n; ++i) {
        loud.left[i] = 0.5f * rng.bipolar();
        loud.right[i] = 0.5f * rng.bipolar();
    }
    // Single-sample spikes far over the ceiling, one on each channel.
    loud.left[10000] = 3.0f;
    loud.right[30000] = -2.0f;
    StereoBuffer quiet = loud;
    Limiter(0.7f, 0.003f, 0.08f).process(loud);
    float peak = 0.0f;
    for (size_t i = 0; i < n; ++i) {
        peak = std::fmax(peak, std::fmax(std::fabs(loud.left[i]), std::fabs(loud.right[i])));
    }
    EXPECT_LE(peak, 0.7f);
    EXPECT_NEAR(loud.left[10000], 0.7f, 0.01f);
    // The gain is already falling 2 ms before the spike, and is back near unity 1 s after it.
    EXPECT_LT(std::fabs(loud.left[10000 - 88] / quiet.left[10000 - 88]), 0.9f);
    EXPECT_NEAR(loud.left[n - 1] / quiet.left[n - 1], 1.0f, 0.02f);

    // Nothing over the ceiling: every sample passes unchanged.
    for (size_t i = 0; i < n; ++i) {
        quiet.left[i] *= 0.2f;
        quiet.right[i] *= 0.2f;
    }
    StereoBuffer untouched = quiet;
    Limiter(0.7f, 0.003f, 0.08f).process(quiet);
    EXPECT_EQ(quiet.left, untouched.left);
    EXPECT_EQ(quiet.right, untouched.right);
}

TEST(SynthTest, SawAndSquareKeepPitchAndRangeWithoutDc) {
    for (int shape = 0; shape < 2; ++shape) {
        Oscillator osc;
        osc.setFrequency(1000.0f);
        double sum = 0.0;
        float peak = 0.0f;
        int rising = 0;
        float last = 0.0f;
        for (int i = 0; i < 44100; ++i) {
            float v = shape == 0 ? osc.saw() : osc.square();
            sum += v;
            peak = std::fmax(peak, std::fabs(v));
            rising += (last < 0.0f && v >= 0.0f) ? 1 : 0;
            last = v;
        }
        EXPECT_NEAR(sum / 44100.0, 0.0, 0.01) << shape;
        // The band-limiting corrections round the edges; they must not overshoot.
        EXPECT_LE(peak, 1.05f) << shape;
        EXPECT_GE(peak, 0.9f) << shape;
        EXPECT_NEAR(rising, 1000, 2) << shape;
    }
}

TEST(SynthTest, EnvelopeRisesDecaysToSustainAndReleasesToSilence) {
    Envelope env(0.01f, 0.05f, 0.5f, 0.1f);
    EXPECT_TRUE(env.finished());
    env.trigger();
    float v = 0.0f;
    for (int i = 0; i < 441; ++i) {
        v = env.next();
    }
    EXPECT_NEAR(v, 1.0f, 0.01f);
    for (int i = 0; i < 44100; ++i) {
        v = env.next();
    }
    EXPECT_NEAR(v, 0.5f, 0.01f);
    env.release();
    int steps = 0;
    while (!env.finished() && steps < 5 * 44100) {
        v = env.next();
        ++steps;
    }
    EXPECT_TRUE(env.finished());
    EXPECT_EQ(v, 0.0f);
    // About ln(0.5 / 1e-4) = 8.5 time constants of 0.1 s.
    EXPECT_NEAR(steps / 44100.0, 0.85, 0.05);
}

TEST(SynthTest, CompositionFollowsTheSceneCuts) {
    const Score score = Composer().compose();
    // The first chord, the bell and the arpeggio start at the very first sample; the bell is A5.
    ASSERT_FALSE(score.pad.empty());
    ASSERT_FALSE(score.bell.empty());
    EXPECT_EQ(score.pad.front().start, 0.0);
    EXPECT_EQ(score.bell.front().start, 0.0);
    EXPECT_EQ(score.bell.front().pitch, 81.0f);
    EXPECT_EQ(score.pluck.front().start, 0.0);
    // A new chord starts exactly at every cut, and no pad chord runs across one.
    for (int c = 1; c < SECTION_COUNT; ++c) {
        const double cut = SECTION_STARTS[c];
        int starting = 0;
        for (const Note& n : score.pad) {
            starting += n.start == cut ? 1 : 0;
            EXPECT_FALSE(n.start < cut && n.start + n.length > cut) << "pad across " << cut;
        }
        EXPECT_EQ(starting, 3) << cut;
    }
    // The breakdown and the mellow reprise have no kick; the driving parts have four a bar.
    auto kicksBetween = [&](double a, double b) {
        int count = 0;
        for (const Note& n : score.kick) {
            count += (n.start >= a && n.start < b) ? 1 : 0;
        }
        return count;
    };
    EXPECT_EQ(kicksBetween(90.0, 122.0), 0);
    EXPECT_EQ(kicksBetween(226.0, 249.0), 0);
    EXPECT_GE(kicksBetween(122.0, 170.0), 4 * 24);
    EXPECT_GE(kicksBetween(194.0, 226.0), 4 * 16);
    // Sections that end in mid-bar (249 s, 266 s) stop their patterns there: nothing starts
    // at the end of the piece, and no hat or kick is doubled where the next section begins.
    for (const NoteList* list : {&score.kick, &score.snare, &score.hats, &score.bass, &score.pad,
                                 &score.lead, &score.pluck, &score.bell, &score.chime}) {
        for (const Note& n : *list) {
            EXPECT_LT(n.start, SECTION_STARTS[SECTION_COUNT]);
        }
    }
    // The sparkle plays only under the two scenes with the spectrum row, reaches every bar the
    // rest of the music leaves flat in each of them, and the mix steps back exactly there.
    for (int section : {1, 4}) {
        const double a = SECTION_STARTS[section];
        const double b = SECTION_STARTS[section + 1];
        std::vector<int> hits(Sparkle::BARS, 0);
        for (const Note& n : score.sparkle) {
            if (n.start >= a && n.start < b) {
                hits[static_cast<int>(n.pitch)]++;
            }
        }
        for (int bar = 7; bar < Sparkle::BARS; ++bar) {
            EXPECT_GE(hits[bar], 4) << "bar " << bar << " from " << a << " s";
        }
    }
    for (const Note& n : score.sparkle) {
        EXPECT_TRUE((n.start >= 26.0 && n.start < 90.0) || (n.start >= 170.0 && n.start < 194.0))
            << n.start;
    }
    ASSERT_EQ(score.room.size(), 2u);
    EXPECT_EQ(score.room[0].start, 26.0);
    EXPECT_FLOAT_EQ(score.room[0].start + score.room[0].length, 90.0f);
    EXPECT_EQ(score.room[1].start, 170.0);
    EXPECT_LT(score.room[1].velocity, 1.0f);
    for (const NoteList* list : {&score.kick, &score.hats}) {
        for (size_t i = 1; i < list->size(); ++i) {
            for (size_t j = 0; j < i; ++j) {
                EXPECT_NE((*list)[i].start, (*list)[j].start);
            }
        }
    }
}

TEST(SynthTest, EncoderWritesA192kFileWhosePeakDecodesBackAndReportsFailures) {
    const size_t n = 44100;
    StereoBuffer tone(n);
    for (size_t i = 0; i < n; ++i) {
        tone.left[i] = 0.5f * std::sin(6.2831853f * 440.0f * static_cast<float>(i) / 44100.0f);
        tone.right[i] = tone.left[i];
    }
    const std::string path = std::string(VQ_BINARY_DIR) + "/synthtest_tone.mp3";
    ASSERT_TRUE(Mp3Writer().write(tone, 192, path));
    EXPECT_NEAR(Mp3Peak().measure(path), 0.5f, 0.03f);
    std::remove(path.c_str());
    // A folder that does not exist: failure, and no file left behind.
    const std::string bad = std::string(VQ_BINARY_DIR) + "/no-such-folder/tone.mp3";
    EXPECT_FALSE(Mp3Writer().write(tone, 192, bad));
    EXPECT_LT(Mp3Peak().measure(bad), 0.0f);
}

namespace {

// Peak of a buffer, where its sound ends (the last sample that is not zero), and how loud it
// still was over the 2 ms before that end.
struct Ending {
    float peak = 0.0f;
    float lastStep = 0.0f;
    size_t last = 0;
};

Ending ending(const StereoBuffer& b) {
    Ending e;
    for (size_t i = 0; i < b.size(); ++i) {
        const float m = std::fmax(std::fabs(b.left[i]), std::fabs(b.right[i]));
        e.peak = std::fmax(e.peak, m);
        e.last = m > 0.0f ? i : e.last;
    }
    for (size_t i = e.last > 88 ? e.last - 88 : 0; i <= e.last; ++i) {
        e.lastStep = std::fmax(e.lastStep, std::fmax(std::fabs(b.left[i]), std::fabs(b.right[i])));
    }
    return e;
}

} // namespace

TEST(SynthTest, EveryInstrumentDiesAwayInsteadOfStoppingWithAClick) {
    // One note each, at 0.1 s, half a second long; the buffer leaves room for any tail.
    const NoteList note = {{0.1, 0.5f, 57.0f, 1.0f}};
    const NoteList shortHit = {{0.1, 0.1f, 0.0f, 1.0f}};
    const NoteList chimeHit = {{0.1, 0.11f, 45.0f, 1.0f}};
    const NoteList clap = {{0.1, 0.3f, 1.0f, 1.0f}};
    const NoteList snare = {{0.1, 0.3f, 0.0f, 1.0f}};
    struct Case {
        const char* name;
        void (*render)(const NoteList&, StereoBuffer&);
        const NoteList* notes;
    };
    const Case cases[] = {
        {"kick", [](const NoteList& n, StereoBuffer& b) { Kick().render(n, b); }, &shortHit},
        {"snare", [](const NoteList& n, StereoBuffer& b) { Snare().render(n, b); }, &snare},
        {"clap", [](const NoteList& n, StereoBuffer& b) { Snare().render(n, b); }, &clap},
        {"hat", [](const NoteList& n, StereoBuffer& b) { HiHat().render(n, b); }, &shortHit},
        {"bass", [](const NoteList& n, StereoBuffer& b) { Bass(1.0f).render(n, b); }, &note},
        {"pad", [](const NoteList& n, StereoBuffer& b) { Pad().render(n, b); }, &note},
        {"lead", [](const NoteList& n, StereoBuffer& b) { Lead().render(n, b); }, &note},
        {"pluck", [](const NoteList& n, StereoBuffer& b) { Pluck().render(n, b); }, &shortHit},
        {"bell", [](const NoteList& n, StereoBuffer& b) { Bell().render(n, b); }, &note},
        {"chime", [](const NoteList& n, StereoBuffer& b) { Chime().render(n, b); }, &chimeHit},
    };
    for (const Case& c : cases) {
        StereoBuffer out(10 * 44100);
        c.render(*c.notes, out);
        const Ending e = ending(out);
        EXPECT_GT(e.peak, 0.05f) << c.name;
        EXPECT_TRUE(std::isfinite(e.peak)) << c.name;
        // The last sound is below -40 dB of the peak: a tail, not a cut.
        EXPECT_LT(e.lastStep, 0.01f * e.peak) << c.name << " stops at " << e.last / 44100.0 << " s";
        EXPECT_LT(e.last, out.size() - 1) << c.name;
    }
}

TEST(SynthTest, EchoesPingPongAndDieAwayAndTheRoomStaysStable) {
    const size_t n = 3 * 44100;
    StereoBuffer click(n);
    click.left[100] = 1.0f;
    click.right[100] = 1.0f;
    const StereoBuffer echoes = Delay(0.375f, 0.45f).process(click);
    const size_t d = static_cast<size_t>(0.375f * 44100.0f);
    auto energy = [&](const std::vector<float>& v, size_t from) {
        double e = 0.0;
        for (size_t i = from; i < from + 200 && i < v.size(); ++i) {
            e += v[i] * v[i];
        }
        return e;
    };
    // First echo on the left only, the second on the right only, and quieter.
    EXPECT_GT(energy(echoes.left, 100 + d), 0.01);
    EXPECT_LT(energy(echoes.right, 100 + d), 1e-9);
    EXPECT_GT(energy(echoes.right, 100 + 2 * d), 0.001);
    EXPECT_LT(energy(echoes.left, 100 + 2 * d), 1e-9);
    EXPECT_LT(energy(echoes.right, 100 + 2 * d), energy(echoes.left, 100 + d));
    // Nothing before the first echo: the delay returns only the wet signal.
    EXPECT_LT(energy(echoes.left, 0), 1e-12);

    const StereoBuffer room = Reverb(0.84f, 0.3f).process(click);
    double early = 0.0;
    double late = 0.0;
    for (size_t i = 0; i < n; ++i) {
        ASSERT_TRUE(std::isfinite(room.left[i]) && std::isfinite(room.right[i]));
        const double e = room.left[i] * room.left[i] + room.right[i] * room.right[i];
        if (i < 44100 / 2) {
            early += e;
        } else if (i > 5 * 44100 / 2) {
            late += e;
        }
    }
    EXPECT_GT(early, 0.0);
    // The tail has fallen by more than 40 dB after 2.5 s.
    EXPECT_LT(late, early * 1e-4);
    // The two channels differ, which is what makes the room wide.
    EXPECT_NE(room.left, room.right);
}

namespace {

// What the demo's spectrum reads of a rendered buffer: the buffer as a 16-bit stereo track,
// through the sound layer's analyser, over the 1024 frames that end at `end`.
std::vector<float> heard(const StereoBuffer& b, long long end) {
    Track track;
    track.rate = 44100;
    track.channels = 2;
    track.samples.resize(2 * b.size());
    auto sample = [](float v) {
        return static_cast<int16_t>(std::lround(std::fmax(-1.0f, std::fmin(1.0f, v)) * 32767.0f));
    };
    for (size_t i = 0; i < b.size(); ++i) {
        track.samples[2 * i] = sample(b.left[i]);
        track.samples[2 * i + 1] = sample(b.right[i]);
    }
    FrequencyAnalyser analyser;
    std::vector<float> spectrum(FrequencyAnalyser::BANDS);
    analyser.compute(track, end, 1.0f, spectrum.data());
    return spectrum;
}

} // namespace

TEST(SynthTest, ChimeKeepsItsEnergyInTheTitleCardBandForEveryChordRoot) {
    // The roots an octave above the bass of the chords A, F, C, G and E.
    for (float root : {45.0f, 41.0f, 48.0f, 43.0f, 40.0f}) {
        StereoBuffer out(44100);
        Chime().render({{0.0, 0.11f, root, 1.0f}}, out);
        // The first 1024 frames after a 10 ms rise.
        const std::vector<float> spectrum = heard(out, 441 + 1024);
        double band = 0.0;
        double total = 0.0;
        for (int k = 0; k < FrequencyAnalyser::BANDS; ++k) {
            const double e = static_cast<double>(spectrum[k]) * spectrum[k];
            total += e;
            // Entries 38 to 61 (1.68 to 2.67 kHz), around the entries 42 to 59 the cards read.
            band += (k >= 38 && k <= 61) ? e : 0.0;
        }
        EXPECT_GT(band, 0.9 * total) << "root " << root;
    }
}

TEST(SynthTest, SparklePingsLightOnlyTheirOwnBarAndEndSilently) {
    for (int bar : {0, 7, 23, 33, 49}) {
        StereoBuffer out(44100);
        Sparkle().render({{0.0, 0.12f, static_cast<float>(bar), 0.5f}}, out);
        // From 5 ms on: the ping holds its level over the window, so its bar (entry 10 bar)
        // reads nearly its velocity.
        const std::vector<float> spectrum = heard(out, 220 + 1024);
        EXPECT_NEAR(spectrum[10 * bar], 0.5f, 0.03f) << "bar " << bar;
        // The neighbouring bars' entries stay dark: the partial sits on its bin's centre.
        for (int other = bar - 1; other <= bar + 1; other += 2) {
            if (other >= 0 && other < Sparkle::BARS) {
                EXPECT_LT(spectrum[10 * other], 0.001f) << "bar " << bar << " next to " << other;
            }
        }
        // The tail has faded to nothing by the end of its take, well within the second.
        float tail = 0.0f;
        for (size_t i = 40000; i < out.size(); ++i) {
            tail = std::max(tail, std::fabs(out.left[i]));
        }
        EXPECT_EQ(tail, 0.0f) << "bar " << bar;
    }
    // Outside the row nothing sounds.
    StereoBuffer none(4410);
    Sparkle().render({{0.0, 0.12f, 50.0f, 1.0f}, {0.0, 0.12f, -1.0f, 1.0f}}, none);
    EXPECT_EQ(*std::max_element(none.left.begin(), none.left.end()), 0.0f);
}
