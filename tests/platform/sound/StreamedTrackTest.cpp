// A streamed MP3 against the same file decoded in one pass from its start: every read, wherever
// it lands and in whatever order, gives that decode's frames, to the last one.
#include <gtest/gtest.h>

#include <mpg123.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/sound/DeviceQueue.h"
#include "platform/sound/FrameRing.h"
#include "platform/sound/FrequencyAnalyser.h"
#include "platform/sound/Playback.h"
#include "platform/sound/TrackDecoder.h"
#include "platform/sound/TrackFeeder.h"
#include "platform/sound/TrackLoader.h"
#include "support/SoundFiles.h"

namespace {

// The file read once from start to end without a scan or a seek, gapless.
std::vector<int16_t> decodeInOnePass(const std::string& path) {
    std::vector<int16_t> pcm;
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    if (mpg123_open_fixed(mh, path.c_str(), MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16) ==
        MPG123_OK) {
        int16_t block[8192];
        for (;;) {
            size_t bytes = 0;
            const int rc =
                mpg123_read(mh, reinterpret_cast<unsigned char*>(block), sizeof(block), &bytes);
            pcm.insert(pcm.end(), block, block + bytes / sizeof(int16_t));
            if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) {
                break;
            }
        }
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    return pcm;
}

// Noise over a tone: any frame out of place shows.
std::vector<int16_t> noisyTone(double seconds, int channels, int rate) {
    std::vector<int16_t> pcm = soundfiles::sine(seconds, 440.0, 0.4, channels, rate);
    unsigned noise = 7u;
    for (int16_t& s : pcm) {
        noise = noise * 1664525u + 1013904223u;
        s = static_cast<int16_t>(s + static_cast<int>(noise >> 20) - 2048);
    }
    return pcm;
}

// What a read of [first, first + count) must give: the whole decode's frames, silence around.
std::vector<int16_t> expected(const std::vector<int16_t>& whole, int channels, long long first,
                              long long count) {
    std::vector<int16_t> out(static_cast<size_t>(count * channels), 0);
    const long long frames = static_cast<long long>(whole.size()) / channels;
    for (long long f = first < 0 ? 0 : first; f < first + count && f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            out[static_cast<size_t>((f - first) * channels + c)] =
                whole[static_cast<size_t>(f * channels + c)];
        }
    }
    return out;
}

// The first sample where a read of the track differs from what it must give; -1 for none.
long long firstDifference(const Track& track, const std::vector<int16_t>& whole, long long first,
                          long long count) {
    std::vector<int16_t> out(static_cast<size_t>(count * track.channels), 1);
    track.read(first, count, out.data());
    const std::vector<int16_t> want = expected(whole, track.channels, first, count);
    for (size_t i = 0; i < out.size(); ++i) {
        if (out[i] != want[i]) {
            return static_cast<long long>(i);
        }
    }
    return -1;
}

void checkAgainstOnePass(const std::string& path, bool streamed) {
    const std::vector<int16_t> whole = decodeInOnePass(path);
    Track track;
    ASSERT_EQ(TrackLoader::loadSample(path.c_str(), &track), LoadResult::OK);
    ASSERT_EQ(track.streamed(), streamed) << path;
    const long long frames = track.frames();
    ASSERT_EQ(frames, static_cast<long long>(whole.size()) / track.channels);

    // The last frame alone, the start, across both ends, and the whole track in one read.
    const std::vector<std::pair<long long, long long>> edges = {
        {frames - 1, 1}, {0, 1}, {frames - 700, 1400}, {-300, 600}, {0, frames}};
    for (const auto& e : edges) {
        EXPECT_EQ(firstDifference(track, whole, e.first, e.second), -1)
            << path << " at " << e.first << " for " << e.second;
    }
    // Jumps either way, steps just behind the last read (as the spectrum reads behind the
    // device), and runs that cross the window's edges as it slides on.
    unsigned r = 99u;
    long long at = frames / 2;
    for (int i = 0; i < 60; ++i) {
        r = r * 1664525u + 1013904223u;
        const long long count = 1 + (r >> 8) % 5000;
        switch (i % 4) {
        case 0:
            at = static_cast<long long>((r >> 4) % static_cast<unsigned>(frames));
            break;
        case 1:
            at -= 3000;
            break;
        default:
            at += 20000 + 31 * i;
            break;
        }
        EXPECT_EQ(firstDifference(track, whole, at, count), -1)
            << path << " at " << at << " for " << count;
    }
}

TEST(StreamedTrack, ReadsAnywhereGiveTheFramesOfOneWholeDecode) {
    const std::string stereo = soundfiles::tempPath("stream-stereo.mp3");
    const std::string mono = soundfiles::tempPath("stream-mono.mp3");
    ASSERT_TRUE(soundfiles::writeMp3(stereo, noisyTone(7.0, 2, 44100), 2, 44100, 128));
    // Mono at a half rate: decoded whole, since a sought decode of it is not always exact.
    ASSERT_TRUE(soundfiles::writeMp3(mono, noisyTone(5.0, 1, 22050), 1, 22050, 32));
    checkAgainstOnePass(stereo, true);
    checkAgainstOnePass(mono, false);
    // Cut short of what its header promises, the file is decoded whole: it plays what decodes,
    // gapless, as one pass over it does.
    FILE* f = fopen(stereo.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<unsigned char> bytes(1 << 20);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    fclose(f);
    bytes.resize(bytes.size() * 2 / 3);
    const std::string cut = soundfiles::tempPath("stream-cut.mp3");
    ASSERT_TRUE(soundfiles::writeBytes(cut, bytes));
    checkAgainstOnePass(cut, false);
    remove(stereo.c_str());
    remove(mono.c_str());
    remove(cut.c_str());
}

TEST(StreamedTrack, TwoThreadsReadingFarApartEachGetTheirFrames) {
    const std::string path = soundfiles::tempPath("stream-threads.mp3");
    ASSERT_TRUE(soundfiles::writeMp3(path, noisyTone(6.0, 2, 44100), 2, 44100, 128));
    const std::vector<int16_t> whole = decodeInOnePass(path);
    Track track;
    ASSERT_EQ(TrackLoader::loadSample(path.c_str(), &track), LoadResult::OK);
    const long long frames = track.frames();
    // One plays on in device-sized blocks while the other reads the far end, again and again.
    int wrongPlayed = 0;
    int wrongFar = 0;
    std::thread player([&] {
        for (long long at = 0; at < frames; at += 1024) {
            wrongPlayed += firstDifference(track, whole, at, 1024) >= 0;
        }
    });
    for (int i = 0; i < 200; ++i) {
        const long long at = frames - 1024 - 97 * i;
        wrongFar += firstDifference(track, whole, at, 1024) >= 0;
    }
    player.join();
    EXPECT_EQ(wrongPlayed, 0);
    EXPECT_EQ(wrongFar, 0);
    remove(path.c_str());
}

// A stereo track made up as it is read, counting the decoder's work.
class CountingDecoder : public TrackDecoder {
  public:
    explicit CountingDecoder(long long frames) : length(frames), next(0), seeks(0), decoded(0) {}

    bool seek(long long frame) override {
        ++seeks;
        next = frame;
        return true;
    }
    long long read(int16_t* out, long long count) override {
        const long long n = std::min(count, length - next);
        for (long long i = 0; i < n; ++i) {
            out[2 * i] = out[2 * i + 1] = static_cast<int16_t>((next + i) * 7);
        }
        next += n;
        decoded += n;
        return n;
    }

    long long length;
    long long next;
    int seeks;
    long long decoded;
};

TEST(StreamedTrack, PlayingWithTheSpectrumBehindDecodesOnceWithoutSeeking) {
    // The feeder decodes ahead into the ring, the callback takes a device buffer at a time, and
    // at each video frame the spectrum reads the 1024 frames before what is heard: two buffers
    // and the server's queue behind on the desktop, the browser's queue (0.17 s) in a page.
    const int desktop = 16384; // through a sound server
    const int page = DeviceQueue::shortBufferFrames(44100);
    for (const auto& way : {std::make_pair(desktop, 2LL * desktop + desktop / 2 + 441),
                            std::make_pair(page, 7500LL)}) {
        const int buffer = way.first;
        const long long behind = way.second;
        const long long frames = 30LL * 44100;
        CountingDecoder* decoder = new CountingDecoder(frames);
        Track track;
        track.rate = 44100;
        track.channels = 2;
        track.stream(decoder, frames);
        FrameRing ring(2, FrameRing::capacityFor(buffer), FrameRing::capacityFor(buffer) / 2);
        TrackFeeder feeder(false);
        feeder.start(&track, &ring, 0, buffer);
        Playback playback;
        playback.start(&track, &ring);
        FrequencyAnalyser analyser;
        std::vector<int16_t> out(2 * static_cast<size_t>(buffer));
        std::vector<int16_t> heard(2 * FrequencyAnalyser::WINDOW);
        float spectrum[FrequencyAnalyser::BANDS];
        long long handed = 0;
        int missing = 0;
        for (long long shown = 735; shown + behind < frames; shown += 735) {
            while (handed < shown + behind) {
                feeder.feed(4LL * buffer);
                handed += playback.fill(out.data(), buffer, 2);
            }
            const long long end = handed - behind;
            if (!ring.copyTaken(end - FrequencyAnalyser::WINDOW, FrequencyAnalyser::WINDOW,
                                heard.data())) {
                ++missing;
                track.read(end - FrequencyAnalyser::WINDOW, FrequencyAnalyser::WINDOW,
                           heard.data());
            }
            analyser.compute(heard.data(), 2, 1.0f, spectrum);
        }
        // The spectrum always found its frames in the ring, and every frame was decoded once,
        // in order, from the first read's seek.
        EXPECT_EQ(missing, 0) << buffer;
        EXPECT_EQ(decoder->seeks, 1) << buffer;
        EXPECT_EQ(decoder->decoded, frames) << buffer;
    }
}

TEST(StreamedTrack, AHeaderPromisingBillionsOfFramesLoadsWhatIsThere) {
    for (int channels : {1, 2}) {
        const std::string path = soundfiles::tempPath("stream-lying.mp3");
        ASSERT_TRUE(
            soundfiles::writeMp3(path, noisyTone(2.0, channels, 44100), channels, 44100, 128));
        FILE* f = fopen(path.c_str(), "rb");
        ASSERT_NE(f, nullptr);
        std::vector<unsigned char> bytes(1 << 20);
        bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
        fclose(f);
        // The Info tag's frame count (after its name and flags) set to 2^31 - 1.
        const unsigned char name[] = {'I', 'n', 'f', 'o'};
        const auto tag = std::search(bytes.begin(), bytes.end(), name, name + 4);
        ASSERT_NE(tag, bytes.end());
        ASSERT_TRUE(tag[7] & 1) << "no frame count in the tag";
        tag[8] = 0x7F;
        tag[9] = tag[10] = tag[11] = 0xFF;
        ASSERT_TRUE(soundfiles::writeBytes(path, bytes));
        Track track;
        ASSERT_EQ(TrackLoader::loadSample(path.c_str(), &track), LoadResult::OK);
        EXPECT_NEAR(track.frames(), 2 * 44100, 2 * 1152) << channels;
        // Found by fuzzing: the claim was reserved whole (tens of gigabytes, or an abort).
        EXPECT_LE(track.samples.capacity(),
                  static_cast<size_t>(Track::MOST_FRAMES_RESERVED + 65536) * channels);
        remove(path.c_str());
    }
}

} // namespace
