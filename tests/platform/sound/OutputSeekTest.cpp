// Seeking and pausing the playing sound: the device and silent outputs hold a paused position
// exactly, with its spectrum, and play on from where a seek puts them.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/Music.h"
#include "platform/sound/FrequencyAnalyser.h"
#include "platform/sound/SoundLayer.h"
#include "platform/sound/Track.h"
#include "support/SoundFiles.h"

namespace {

const int RATE = 44100;

void sleepSeconds(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// The position after it first moves past from, waiting at most two seconds; -1 if it never does.
long long firstPast(long long from) {
    for (int i = 0; i < 2000; ++i) {
        const long long now = soundlayer::audibleFrame();
        if (now > from) {
            return now;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

// Loads a four-second sine through Music (on whatever output the environment gives) and plays it.
class Playing {
  public:
    Playing() : path(soundfiles::tempPath("seek.wav")), music() {
        EXPECT_TRUE(
            soundfiles::writeWav(path, soundfiles::sine(4.0, 1000.0, 0.5, 2, RATE), 2, RATE));
        testing::internal::CaptureStderr(); // "Sound is off" where no device opens
        music.load(path, MP3);
        testing::internal::GetCapturedStderr();
        music.play();
    }
    ~Playing() { remove(path.c_str()); }

    const Track& track() const { return *soundlayer::sampleTrack(music.sample); }

    std::string path;
    Music music;
};

// What a paused output must show: held at the frame, the spectrum of that frame to the bit,
// then playing on from a later frame and back from an earlier one at the track's rate.
void checkSeeks(Playing& playing) {
    ASSERT_NE(playing.music.sample, nullptr);
    ASSERT_GT(firstPast(0), 0) << "the sound never started";

    soundlayer::seekOutput(RATE, true);
    EXPECT_EQ(soundlayer::audibleFrame(), RATE);
    sleepSeconds(0.2);
    EXPECT_EQ(soundlayer::audibleFrame(), RATE) << "a paused position moved";
    std::vector<float> expected(FrequencyAnalyser::BANDS);
    FrequencyAnalyser analyser;
    analyser.compute(playing.track(), RATE, 1.0f, expected.data());
    const float* spectrum = playing.music.getSpectrumBuffer();
    EXPECT_EQ(std::vector<float>(spectrum, spectrum + FrequencyAnalyser::BANDS), expected);

    // Forward, playing: from the frame on, never before it, at about the track's rate.
    soundlayer::seekOutput(3 * RATE, false);
    EXPECT_GE(soundlayer::audibleFrame(), 3 * RATE);
    const auto begin = std::chrono::steady_clock::now();
    const long long moved = firstPast(3 * RATE);
    ASSERT_GT(moved, 3 * RATE);
    sleepSeconds(0.3);
    const long long later = soundlayer::audibleFrame();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_LE(later, 3 * RATE + static_cast<long long>(seconds * RATE) + RATE / 20);
    EXPECT_GE(later, 3 * RATE + static_cast<long long>(0.3 * RATE) - RATE / 10);

    // Back, playing: the position starts again from the earlier frame.
    soundlayer::seekOutput(RATE / 2, false);
    const long long back = soundlayer::audibleFrame();
    EXPECT_GE(back, RATE / 2);
    EXPECT_LT(back, RATE / 2 + RATE / 10);

    // Paused again, then the position stays even while time passes.
    soundlayer::seekOutput(2 * RATE, true);
    sleepSeconds(0.1);
    EXPECT_EQ(soundlayer::audibleFrame(), 2 * RATE);
}

TEST(OutputSeek, TheDeviceHoldsAPausedFrameAndPlaysOnFromASeek) {
    Playing playing;
    EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_DEVICE);
    checkSeeks(playing);
}

TEST(OutputSeek, TheSilentOutputHoldsAPausedFrameAndPlaysOnFromASeek) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Playing playing;
    EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_SILENT);
    checkSeeks(playing);
}

TEST(OutputSeek, TheManualOutputMovesToTheFrameAndStaysThere) {
    soundlayer::useManualOutput(true);
    soundlayer::setManualPosition(0);
    Playing playing;
    EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_MANUAL);
    soundlayer::seekOutput(1234, false);
    sleepSeconds(0.05);
    EXPECT_EQ(soundlayer::audibleFrame(), 1234);
    soundlayer::seekOutput(99, true);
    EXPECT_EQ(soundlayer::audibleFrame(), 99);
}

} // namespace
