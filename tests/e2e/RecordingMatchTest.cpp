// The sound server test's comparison: it must find the track's start, and catch a gap, a
// dropped or repeated buffer, a changed sample, a late start and a recording cut short; and
// it must tell a mismatch where the server underran from one elsewhere.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "support/RecordingMatch.h"
#include "support/SoundFiles.h"
#include "support/UnderrunPairing.h"

namespace {

const int CHANNELS = 2;
const int BLOCK = 441;
const long long SPAN = 44100; // one second checked

// A stereo track of distinct non-zero samples, after `silent` frames of digital silence.
std::vector<int16_t> makeTrack(long long frames, long long silent) {
    std::vector<int16_t> samples(frames * CHANNELS, 0);
    uint32_t x = 12345;
    for (long long i = silent * CHANNELS; i < frames * CHANNELS; ++i) {
        x = x * 1664525u + 1013904223u;
        samples[i] = static_cast<int16_t>((x >> 16) | 1);
    }
    return samples;
}

// The recording a server makes: `lead` frames of silence, then the track's frames.
std::vector<int16_t> heard(const std::vector<int16_t>& track, long long lead) {
    std::vector<int16_t> recording(lead * CHANNELS, 0);
    recording.insert(recording.end(), track.begin(), track.end());
    return recording;
}

void insertAt(std::vector<int16_t>* recording, long long frame, const std::vector<int16_t>& what) {
    recording->insert(recording->begin() + frame * CHANNELS, what.begin(), what.end());
}

TEST(RecordingMatch, FindsTheTrackAfterTheServersAndTheTracksOwnSilence) {
    const std::vector<int16_t> track = makeTrack(2 * SPAN, 300);
    const std::vector<int16_t> recording = heard(track, 1000);
    RecordingMatch match(CHANNELS, BLOCK);
    EXPECT_TRUE(match.compare(track, recording, SPAN)) << match.report(44100);
    EXPECT_EQ(match.startOffset, 1000);
    EXPECT_EQ(match.endOffset, 1000);
    EXPECT_EQ(match.checkedBlocks, SPAN / BLOCK);
    EXPECT_EQ(match.badBlocks, 0);

    const std::vector<int16_t> silence(4 * SPAN, 0);
    RecordingMatch silent(CHANNELS, BLOCK);
    EXPECT_FALSE(silent.compare(track, silence, SPAN));
    EXPECT_EQ(silent.startOffset, RecordingMatch::NONE);

    // A click before the track's first sound would be heard.
    std::vector<int16_t> early = heard(track, 100);
    early[0] = 7;
    RecordingMatch click(CHANNELS, BLOCK);
    EXPECT_FALSE(click.compare(track, early, SPAN));
    EXPECT_TRUE(click.soundBeforeTrack);
}

TEST(RecordingMatch, AGapADroppedOrARepeatedBufferMovesTheOffset) {
    const std::vector<int16_t> track = makeTrack(2 * SPAN, 0);
    const long long at = 20000; // frame of the track where the fault lies
    const std::vector<int16_t> buffer(track.begin() + at * CHANNELS,
                                      track.begin() + (at + 1024) * CHANNELS);

    std::vector<int16_t> gap = heard(track, 500);
    insertAt(&gap, 500 + at, std::vector<int16_t>(256 * CHANNELS, 0));
    std::vector<int16_t> dropped = heard(track, 500);
    dropped.erase(dropped.begin() + (500 + at) * CHANNELS,
                  dropped.begin() + (500 + at + 1024) * CHANNELS);
    std::vector<int16_t> repeated = heard(track, 500);
    insertAt(&repeated, 500 + at, buffer);

    // A repeated buffer is heard as the track until the repeat is over.
    const struct {
        const std::vector<int16_t>* recording;
        long long shift;
        long long firstBad;
    } cases[] = {{&gap, 256, at / BLOCK},
                 {&dropped, -1024, at / BLOCK},
                 {&repeated, 1024, (at + 1024) / BLOCK}};
    for (const auto& c : cases) {
        RecordingMatch match(CHANNELS, BLOCK);
        EXPECT_FALSE(match.compare(track, *c.recording, SPAN)) << c.shift;
        EXPECT_EQ(match.startOffset, 500);
        EXPECT_EQ(match.endOffset, 500 + c.shift);
        EXPECT_EQ(match.firstBadBlock, c.firstBad) << c.shift;
        EXPECT_GT(match.badBlocks, (SPAN - at) / BLOCK - 3) << c.shift;
    }
}

TEST(RecordingMatch, OneChangedSampleALateStartOrAShortRecordingFail) {
    const std::vector<int16_t> track = makeTrack(2 * SPAN, 0);

    std::vector<int16_t> changed = heard(track, 10);
    changed[(10 + 30000) * CHANNELS + 1] += 1;
    RecordingMatch one(CHANNELS, BLOCK);
    EXPECT_FALSE(one.compare(track, changed, SPAN));
    EXPECT_EQ(one.badBlocks, 1);
    EXPECT_EQ(one.firstBadBlock, 30000 / BLOCK);
    EXPECT_EQ(one.firstBadDifference, 1);
    EXPECT_EQ(one.firstBadShift, RecordingMatch::NONE);
    EXPECT_EQ(one.endOffset, 10);

    // The recording began after the track had started: its first sound is not the first sample.
    const std::vector<int16_t> late(track.begin() + 4410 * CHANNELS, track.end());
    RecordingMatch missed(CHANNELS, BLOCK);
    EXPECT_FALSE(missed.compare(track, late, SPAN));
    EXPECT_EQ(missed.firstBadBlock, 0);

    const std::vector<int16_t> whole = heard(track, 10);
    const std::vector<int16_t> cut(whole.begin(), whole.begin() + (10 + SPAN / 2) * CHANNELS);
    RecordingMatch shorter(CHANNELS, BLOCK);
    EXPECT_FALSE(shorter.compare(track, cut, SPAN));
    EXPECT_TRUE(shorter.tooShort);
    EXPECT_EQ(shorter.badBlocks, 0);
}

// Within a tolerance (another decoder's rounding of the same track) a sample off by it passes,
// but one off by more, or the channels swapped, does not.
TEST(RecordingMatch, ATolerancePassesRoundingAloneNotSwappedChannels) {
    const std::vector<int16_t> track = makeTrack(2 * SPAN, 0);
    std::vector<int16_t> rounded = heard(track, 10);
    for (size_t i = 10 * CHANNELS; i < rounded.size(); i += 3) {
        rounded[i] = static_cast<int16_t>(rounded[i] + (rounded[i] > 0 ? -1 : 1));
    }
    RecordingMatch within(CHANNELS, BLOCK, 1);
    EXPECT_TRUE(within.compare(track, rounded, SPAN));
    EXPECT_EQ(within.startOffset, 10);
    RecordingMatch exact(CHANNELS, BLOCK);
    EXPECT_FALSE(exact.compare(track, rounded, SPAN));

    rounded[(10 + 30000) * CHANNELS + 1] += 2; // a sample the rounding above left alone
    EXPECT_FALSE(within.compare(track, rounded, SPAN));
    EXPECT_EQ(within.firstBadBlock, 30000 / BLOCK);

    std::vector<int16_t> swapped = heard(track, 10);
    for (size_t i = 10 * CHANNELS; i + 1 < swapped.size(); i += 2) {
        std::swap(swapped[i], swapped[i + 1]);
    }
    EXPECT_FALSE(within.compare(track, swapped, SPAN));
}

TEST(UnderrunPairing, PairsTheLogsUnderrunsWithTheGapsAndFindsTheMismatchAtOne) {
    // Gaps of 2 ms (88 frames) and more at 3.017 s and 7.532 s; 87 frames at 10 s is no gap,
    // nor is the silence before the track's start.
    const int rate = 44100;
    std::vector<int16_t> recording = makeTrack(14 * rate, rate / 2);
    const struct {
        double at;
        int frames;
    } silences[] = {{3.017, 88}, {7.532, 200}, {10.0, 87}};
    for (const auto& s : silences) {
        const long long first = static_cast<long long>(s.at * rate + 0.5);
        std::fill(recording.begin() + first * CHANNELS,
                  recording.begin() + (first + s.frames) * CHANNELS, 0);
    }
    const std::vector<double> gaps = UnderrunPairing::gapsIn(recording, CHANNELS, rate / 2, rate);
    ASSERT_EQ(gaps.size(), 2u);
    EXPECT_NEAR(gaps[0], 3.017, 1e-4);
    EXPECT_NEAR(gaps[1], 7.532, 1e-4);

    // The server's log, its clock 2.013 s ahead: two underruns at the gaps, one elsewhere.
    const std::string log = soundfiles::tempPath("pulse.log");
    FILE* f = fopen(log.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs(
        "(   0.512|   0.000) I: [pulseaudio] main.c: Daemon startup complete.\n"
        "(   5.030|   4.518) D: [vq] protocol-native.c: Implicit underrun of 'Vorrel Quisp'\n"
        "(   9.545|   4.515) D: [vq] protocol-native.c: Implicit underrun of 'Vorrel Quisp'\n"
        "(   9.600|   0.055) D: [vq] protocol-native.c: Requesting rewind due to end of underrun.\n"
        "(  12.800|   3.200) D: [vq] protocol-native.c: Implicit underrun of 'Vorrel Quisp'\n",
        f);
    fclose(f);
    const UnderrunPairing pairing(UnderrunPairing::underrunsInLog(log.c_str()), gaps);
    remove(log.c_str());
    EXPECT_EQ(pairing.underruns, (std::vector<double>{5.030, 9.545, 12.800}));
    EXPECT_EQ(pairing.pairs, 2);
    EXPECT_NEAR(pairing.lag, 2.013, 1e-3);
    EXPECT_TRUE(pairing.underrunAt(7.532 + 0.025));
    EXPECT_TRUE(pairing.underrunAt(12.800 - 2.013));
    EXPECT_FALSE(pairing.underrunAt(7.532 + 0.040));
    EXPECT_FALSE(pairing.underrunAt(5.030));

    // Underruns half a second after the gaps are no lag the log and the recording can have.
    const UnderrunPairing early({3.517, 8.032}, gaps);
    EXPECT_EQ(early.pairs, 0);
    EXPECT_FALSE(early.underrunAt(3.017));
    EXPECT_TRUE(UnderrunPairing::underrunsInLog("/nonexistent/pulse.log").empty());
}

} // namespace
