// Decoding on a thread of its own: the callback's copy never waits for a reader of the track,
// whatever that reader holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/sound/FrameRing.h"
#include "platform/sound/FrequencyAnalyser.h"
#include "platform/sound/Playback.h"
#include "platform/sound/Track.h"
#include "platform/sound/TrackDecoder.h"
#include "platform/sound/TrackFeeder.h"

namespace {

// A stereo track made up as it is read; armed, its next read takes 50 ms.
class SlowDecoder : public TrackDecoder {
  public:
    explicit SlowDecoder(long long frames) : length(frames), next(0), armed(false), slow(false) {}

    bool seek(long long frame) override {
        next = frame;
        return true;
    }
    long long read(int16_t* out, long long count) override {
        if (armed.exchange(false)) {
            slow = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            slow = false;
        }
        const long long n = std::min(count, length - next);
        for (long long i = 0; i < n; ++i) {
            out[2 * i] = out[2 * i + 1] = value(next + i);
        }
        next += n;
        return n;
    }
    static int16_t value(long long frame) { return static_cast<int16_t>(frame * 7); }

    long long length;
    long long next;
    std::atomic<bool> armed;
    std::atomic<bool> slow; // inside the slow read
};

double millisecondsSince(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}

TEST(TrackFeeder, TheCallbacksCopyDoesNotWaitForASpectrumReaderHeldFor50ms) {
    const long long frames = 20LL * 44100;
    SlowDecoder* decoder = new SlowDecoder(frames);
    Track track;
    track.rate = 44100;
    track.channels = 2;
    track.stream(decoder, frames);
    FrameRing ring(2, FrameRing::capacityFor(4096), FrameRing::capacityFor(4096) / 2);
    TrackFeeder feeder(true);
    feeder.start(&track, &ring, 0, 4096);
    Playback playback;
    playback.start(&track, &ring);
    // The feeder's thread fills the ring ahead, then rests: the slow read is the reader's.
    for (int i = 0; i < 2000 && ring.space() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_EQ(ring.space(), 0);

    // A spectrum far from what plays holds the track (and its lock) for 50 ms as it decodes.
    decoder->armed = true;
    std::thread reader([&] {
        FrequencyAnalyser analyser;
        float spectrum[FrequencyAnalyser::BANDS];
        analyser.compute(track, frames - 44100, 1.0f, spectrum);
    });
    while (!decoder->slow) {
        std::this_thread::yield();
    }
    std::vector<double> took;
    std::vector<int16_t> out(2 * 1024);
    long long at = 0;
    bool right = true;
    for (int call = 0; call < 20; ++call) {
        const auto began = std::chrono::steady_clock::now();
        const int played = playback.fill(out.data(), 1024, 2);
        took.push_back(millisecondsSince(began));
        right = right && played == 1024 && out[0] == SlowDecoder::value(at) &&
                out[2 * 1023 + 1] == SlowDecoder::value(at + 1023);
        at += 1024;
    }
    const bool stillHeld = decoder->slow;
    reader.join();
    EXPECT_TRUE(stillHeld) << "the reader let go before the copies were done";
    EXPECT_TRUE(right) << "the copies are not the track's frames";
    std::sort(took.begin(), took.end());
    EXPECT_LT(took[took.size() / 2], 1.0) << "the median copy, in ms";
}

} // namespace
