// The WAV reader against lying lengths, and the callback's copy: volume, channels, the end.
#include <gtest/gtest.h>

#include <vector>

#include "platform/sound/FrameRing.h"
#include "platform/sound/Playback.h"
#include "platform/sound/TrackFeeder.h"
#include "platform/sound/WavDecoder.h"

namespace {

std::vector<unsigned char> wavBytes(int format, int channels, int bits, unsigned dataSize,
                                    const std::vector<unsigned char>& data) {
    std::vector<unsigned char> b = {'R', 'I', 'F', 'F', 0,   0,   0,  0, 'W', 'A',
                                    'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0,   0};
    const int rate = 8000;
    const int block = channels * bits / 8;
    const unsigned fields[] = {static_cast<unsigned>(format) | (channels << 16),
                               static_cast<unsigned>(rate), static_cast<unsigned>(rate * block),
                               static_cast<unsigned>(block) | (bits << 16)};
    for (unsigned v : fields) {
        for (int i = 0; i < 4; ++i) {
            b.push_back((v >> (8 * i)) & 0xFF);
        }
    }
    const unsigned char tag[] = {'d', 'a', 't', 'a'};
    b.insert(b.end(), tag, tag + 4);
    for (int i = 0; i < 4; ++i) {
        b.push_back((dataSize >> (8 * i)) & 0xFF);
    }
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

TEST(WavDecoder, ConvertsEachSampleWidthAndStaysInsideTheFile) {
    Track t8;
    ASSERT_EQ(WavDecoder::decodeMemory(wavBytes(1, 1, 8, 3, {0, 128, 255}), &t8), LoadResult::OK);
    EXPECT_EQ(t8.samples, (std::vector<int16_t>{-32768, 0, 32512}));
    EXPECT_EQ(t8.rate, 8000);

    Track t24;
    ASSERT_EQ(
        WavDecoder::decodeMemory(wavBytes(1, 2, 24, 6, {0x11, 0x34, 0x12, 0xFF, 0xFF, 0x80}), &t24),
        LoadResult::OK);
    EXPECT_EQ(t24.samples, (std::vector<int16_t>{0x1234, static_cast<int16_t>(0x80FF)}));
    EXPECT_EQ(t24.channels, 2);

    // A data chunk claiming a gigabyte keeps the two whole frames that are there.
    Track lying;
    ASSERT_EQ(WavDecoder::decodeMemory(wavBytes(1, 1, 16, 0x40000000u, {1, 0, 2, 0, 3}), &lying),
              LoadResult::OK);
    EXPECT_EQ(lying.samples, (std::vector<int16_t>{1, 2}));

    Track bad;
    EXPECT_EQ(WavDecoder::decodeMemory(wavBytes(2, 1, 16, 2, {1, 0}), &bad),
              LoadResult::UNKNOWN_FORMAT);
    EXPECT_EQ(
        WavDecoder::decodeMemory(wavBytes(1, 6, 16, 12, std::vector<unsigned char>(12)), &bad),
        LoadResult::UNKNOWN_FORMAT);
    EXPECT_EQ(WavDecoder::decodeMemory(wavBytes(1, 1, 16, 0, {}), &bad),
              LoadResult::UNKNOWN_FORMAT);
    std::vector<unsigned char> cut = wavBytes(1, 1, 16, 2, {1, 0});
    cut.resize(30); // inside the format chunk
    EXPECT_EQ(WavDecoder::decodeMemory(cut, &bad), LoadResult::UNKNOWN_FORMAT);
}

TEST(Playback, CopiesAtTheVolumeIntoTheDevicesChannelsThenSilence) {
    Track mono;
    mono.rate = 44100;
    mono.channels = 1;
    mono.samples = {1000, -2000, 32767};
    FrameRing monoRing(1, 16, 8);
    TrackFeeder feeder(false);
    feeder.start(&mono, &monoRing, 0, 0);
    feeder.feed(8);
    Playback playback;
    playback.start(&mono, &monoRing);
    playback.setVolume(192);
    std::vector<int16_t> out(8, 7);
    EXPECT_EQ(playback.fill(out.data(), 2, 2), 2);
    EXPECT_EQ(out, (std::vector<int16_t>{750, 750, -1500, -1500, 7, 7, 7, 7}));
    playback.setVolume(Playback::FULL_VOLUME);
    // One frame left, then silence: the track has ended, so all four count as played.
    EXPECT_EQ(playback.fill(out.data(), 4, 2), 4);
    EXPECT_EQ(out, (std::vector<int16_t>{32767, 32767, 0, 0, 0, 0, 0, 0}));

    // A ring not yet fed far enough: silence that does not count, and the track goes on after it.
    Track stereo;
    stereo.rate = 44100;
    stereo.channels = 2;
    stereo.samples = {1, 2, 3, 4, 5, 6};
    FrameRing stereoRing(2, 16, 8);
    stereoRing.write(stereo.samples.data(), 1);
    playback.start(&stereo, &stereoRing);
    std::vector<int16_t> copy(4, 7);
    EXPECT_EQ(playback.fill(copy.data(), 2, 2), 1);
    EXPECT_EQ(copy, (std::vector<int16_t>{1, 2, 0, 0}));
    stereoRing.write(stereo.samples.data() + 2, 2);
    EXPECT_EQ(playback.fill(copy.data(), 2, 2), 2);
    EXPECT_EQ(copy, (std::vector<int16_t>{3, 4, 5, 6}));
    feeder.stop();
    playback.start(nullptr, nullptr);
    EXPECT_EQ(playback.fill(copy.data(), 2, 2), 2);
    EXPECT_EQ(copy, (std::vector<int16_t>{0, 0, 0, 0}));
}

} // namespace
