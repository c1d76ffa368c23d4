// The layer end to end: decoding a made track, its spectrum, the three outputs, modules and MIDI.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/Music.h"
#include "platform/sound/AlsaMessages.h"
#include "platform/sound/DeviceQueue.h"
#include "platform/sound/SoundLayer.h"
#include "platform/sound/Track.h"
#include "support/SoundFiles.h"

namespace {

// FFT bin 40 of 1024 frames at 44100 Hz: its sine lands in spectrum entry 39.
const double BIN40_HZ = 40.0 * 44100.0 / 1024.0;

std::vector<float> spectrumAt(long long frame) {
    soundlayer::setManualPosition(frame);
    const float* v = FSOUND_DSP_GetSpectrum();
    return std::vector<float>(v, v + FSOUND_SPECTRUM_SIZE);
}

int loudest(const std::vector<float>& v) {
    return static_cast<int>(std::max_element(v.begin(), v.end()) - v.begin());
}

bool allZero(const std::vector<float>& v) {
    return std::all_of(v.begin(), v.end(), [](float x) { return x == 0.0f; });
}

// Every test leaves the layer as it found it: the device output chosen again, the audio
// driver variable as it was.
class LayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* driver = getenv("SDL_AUDIODRIVER");
        hadDriver = driver != nullptr;
        savedDriver = driver ? driver : "";
    }
    void TearDown() override {
        soundlayer::useManualOutput(false);
        if (hadDriver) {
            setenv("SDL_AUDIODRIVER", savedDriver.c_str(), 1);
        } else {
            unsetenv("SDL_AUDIODRIVER");
        }
    }

  private:
    bool hadDriver = false;
    std::string savedDriver;
};

class SoundLayerMp3 : public LayerTest {};
class SoundLayerOgg : public LayerTest {};
class SoundLayerOutputs : public LayerTest {};
class SoundLayerSongs : public LayerTest {};

double steadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Loads path as a sample with Music, capturing both streams; fails the test on any output.
void loadQuietly(Music& music, const std::string& path, int mode) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    music.load(path, mode);
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

TEST_F(SoundLayerMp3, ASineDecodesToItsLengthAndPeaksInItsEntry) {
    const std::string path = soundfiles::tempPath("sine.mp3");
    const int frames = 2 * 44100;
    ASSERT_TRUE(
        soundfiles::writeMp3(path, soundfiles::sine(2.0, BIN40_HZ, 0.9, 2, 44100), 2, 44100, 192));
    soundlayer::useManualOutput(true);
    Music music;
    loadQuietly(music, path, MP3);
    ASSERT_NE(music.sample, nullptr);
    const Track* track = soundlayer::sampleTrack(music.sample);
    EXPECT_EQ(track->rate, 44100);
    EXPECT_EQ(track->channels, 2);
    EXPECT_EQ(track->frames(), frames); // gapless: no encoder delay or padding

    // Nothing is audible before play, nor at position 0 after it.
    soundlayer::setManualPosition(44100);
    EXPECT_TRUE(allZero(std::vector<float>(music.getSpectrumBuffer(),
                                           music.getSpectrumBuffer() + FSOUND_SPECTRUM_SIZE)));
    music.play();
    EXPECT_TRUE(allZero(spectrumAt(0)));

    const std::vector<float> middle = spectrumAt(44100);
    EXPECT_EQ(loudest(middle), 39);
    EXPECT_NEAR(middle[39], 0.9f, 0.05f); // amplitude 0.9 reads 0.9: full scale reads 1.0
    EXPECT_LT(middle[29], 0.01f);
    EXPECT_LT(middle[49], 0.01f);
    EXPECT_EQ(spectrumAt(44100), middle); // same position, same spectrum, to the bit
    EXPECT_NE(spectrumAt(44100 + 300), middle);
    // Half a window in, the sine fills the later half: the peak is there, weaker.
    const std::vector<float> start = spectrumAt(512);
    EXPECT_EQ(loudest(start), 39);
    EXPECT_LT(start[39], middle[39]);
    // Past the end only silence is left.
    EXPECT_TRUE(allZero(spectrumAt(frames + 1024)));
    remove(path.c_str());
}

TEST_F(SoundLayerMp3, MonoFilesKeepTheirChannelAndRateAndACutFilePlaysWhatDecodes) {
    const std::string mono = soundfiles::tempPath("mono.mp3");
    const std::string cut = soundfiles::tempPath("cut.mp3");
    ASSERT_TRUE(
        soundfiles::writeMp3(mono, soundfiles::sine(2.0, 1000.0, 0.5, 1, 22050), 1, 22050, 64));
    FILE* f = fopen(mono.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<unsigned char> bytes(1 << 20);
    bytes.resize(fread(bytes.data(), 1, bytes.size(), f));
    fclose(f);
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(soundfiles::writeBytes(cut, bytes));

    soundlayer::useManualOutput(true);
    ASSERT_TRUE(FSOUND_Init(44100, 32, 0));
    FSOUND_SAMPLE* whole = FSOUND_Sample_Load(FSOUND_FREE, mono.c_str(), FSOUND_NORMAL, 0, 0);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(soundlayer::sampleTrack(whole)->channels, 1);
    EXPECT_EQ(soundlayer::sampleTrack(whole)->rate, 22050);
    EXPECT_EQ(soundlayer::sampleTrack(whole)->frames(), 2 * 22050);
    FSOUND_SAMPLE* half = FSOUND_Sample_Load(FSOUND_FREE, cut.c_str(), FSOUND_NORMAL, 0, 0);
    ASSERT_NE(half, nullptr);
    EXPECT_NEAR(soundlayer::sampleTrack(half)->frames(), 22050, 22050 / 10);
    EXPECT_EQ(FSOUND_PlaySound(FSOUND_FREE, half), 0);
    FSOUND_DSP_SetActive(FSOUND_DSP_GetFFTUnit(), true);
    // 1000 Hz at 22050 Hz falls between bins 46 and 47: entries 45 and 46.
    const std::vector<float> v = spectrumAt(11025);
    EXPECT_TRUE(loudest(v) == 45 || loudest(v) == 46) << loudest(v);
    EXPECT_GT(v[45] + v[46], 0.3f);
    FSOUND_Sample_Free(half);
    FSOUND_Sample_Free(whole);
    FSOUND_Close();
    remove(mono.c_str());
    remove(cut.c_str());
}

TEST_F(SoundLayerOgg, AnOggTrackPlaysThroughMusicInEitherSampleMode) {
    const std::string path = soundfiles::tempPath("sine.ogg");
    const int frames = 2 * 44100;
    ASSERT_TRUE(
        soundfiles::writeOgg(path, soundfiles::sine(2.0, BIN40_HZ, 0.9, 2, 44100), 2, 44100));
    // OGG names the kind of file; MP3 loads it the same way, by what the file holds.
    for (int mode : {OGG, MP3}) {
        soundlayer::useManualOutput(true);
        Music music;
        loadQuietly(music, path, mode);
        ASSERT_NE(music.sample, nullptr) << "mode " << mode;
        const Track* track = soundlayer::sampleTrack(music.sample);
        EXPECT_EQ(track->rate, 44100);
        EXPECT_EQ(track->channels, 2);
        EXPECT_EQ(track->frames(), frames); // Vorbis keeps the exact length
        music.play();
        EXPECT_TRUE(allZero(spectrumAt(0)));
        const std::vector<float> middle = spectrumAt(44100);
        EXPECT_EQ(loudest(middle), 39) << "mode " << mode;
        EXPECT_NEAR(middle[39], 0.9f, 0.05f) << "mode " << mode;
        EXPECT_LT(middle[29], 0.01f);
        EXPECT_TRUE(allZero(spectrumAt(frames + 1024)));
    }
    remove(path.c_str());
}

// The audible position over a stretch of wall-clock time, in frames per second, checking on
// the way that it never goes back. The device is paced by its own thread, which a busy
// machine delays: only a rough figure.
double measuredRate(double seconds) {
    long long first = soundlayer::audibleFrame();
    for (int i = 0; i < 2000 && first <= 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        first = soundlayer::audibleFrame();
    }
    const double from = steadySeconds();
    long long last = first;
    while (steadySeconds() - from < seconds) {
        const long long now = soundlayer::audibleFrame();
        EXPECT_GE(now, last);
        last = now;
        std::this_thread::sleep_for(std::chrono::microseconds(300));
    }
    return (soundlayer::audibleFrame() - first) / (steadySeconds() - from);
}

// With the device's callback held off (the audio lock), nothing more is handed over: the
// position runs on from the last hand-over at the device's rate for at most one buffer, then
// stays at what was handed. Read that way several times over, this shows the position's lag
// behind the frames handed (at most one buffer) and its rate against the steady clock, each
// read bracketed by the clock, whatever the machine's speed.
void expectHeldPositions(int rate) {
    const int buffer = DeviceQueue::bufferFrames(rate);
    const auto oneBuffer = std::chrono::milliseconds(1000LL * buffer / rate);
    int lagSeen = 0;
    int rateSeen = 0;
    for (int attempt = 0; attempt < 60 && (lagSeen < 3 || rateSeen < 3); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30)); // the device runs again
        SDL_LockAudio();
        const double t0 = steadySeconds();
        const long long first = soundlayer::audibleFrame();
        const double t1 = steadySeconds();
        std::this_thread::sleep_for(std::chrono::milliseconds(4));
        const double t2 = steadySeconds();
        const long long second = soundlayer::audibleFrame();
        const double t3 = steadySeconds();
        std::this_thread::sleep_for(oneBuffer);
        const long long handed = soundlayer::audibleFrame();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const long long still = soundlayer::audibleFrame();
        SDL_UnlockAudio();

        EXPECT_EQ(still, handed) << "the position ran past the frames handed to the device";
        EXPECT_LE(first, second);
        EXPECT_LE(second, handed);
        EXPECT_LE(handed - first, buffer) << "more than one buffer behind";
        if (first < handed - rate / 1000) {
            ++lagSeen; // at least a millisecond behind what the device holds
        }
        if (second < handed) {
            // Between the two reads the position moved at the rate over the time between them.
            const double least = (t2 - t1) * rate - 2.0;
            const double most = (t3 - t0) * rate + 2.0;
            EXPECT_GE(second - first, least);
            EXPECT_LE(second - first, most);
            ++rateSeen;
        }
    }
    EXPECT_GE(lagSeen, 3) << "the position never lagged behind the frames handed";
    EXPECT_GE(rateSeen, 3);
}

TEST_F(SoundLayerOutputs, TheDeviceIsHeardOneBufferBehindAndAtTheTracksRate) {
    const std::string path = soundfiles::tempPath("tone.wav");
    const std::string slow = soundfiles::tempPath("slow.wav");
    ASSERT_TRUE(
        soundfiles::writeWav(path, soundfiles::sine(8.0, BIN40_HZ, 0.5, 2, 44100), 2, 44100));
    ASSERT_TRUE(soundfiles::writeWav(slow, soundfiles::sine(8.0, 1000.0, 0.5, 1, 22050), 1, 22050));
    Music music;
    loadQuietly(music, path, MP3);
    EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_DEVICE);
    EXPECT_LE(soundlayer::audibleFrame(), 0);
    music.play();
    // Roughly the rate on the wall clock: never faster, and slower only as much as a loaded
    // machine delays the device's thread...
    const double played = measuredRate(1.0);
    EXPECT_GT(played, 44100.0 * 0.4);
    EXPECT_LT(played, 44100.0 * 1.15);
    // ...and exactly the rate between two reads.
    expectHeldPositions(44100);
    EXPECT_EQ(loudest(std::vector<float>(music.getSpectrumBuffer(),
                                         music.getSpectrumBuffer() + FSOUND_SPECTRUM_SIZE)),
              39);

    // A track at another rate reopens the device at that rate.
    FSOUND_SAMPLE* other = FSOUND_Sample_Load(FSOUND_FREE, slow.c_str(), FSOUND_NORMAL, 0, 0);
    ASSERT_NE(other, nullptr);
    FSOUND_PlaySound(FSOUND_FREE, other);
    EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_DEVICE);
    const double slower = measuredRate(1.0);
    EXPECT_GT(slower, 22050.0 * 0.4);
    EXPECT_LT(slower, 22050.0 * 1.15);
    expectHeldPositions(22050);
    FSOUND_Sample_Free(other);
    EXPECT_LE(soundlayer::audibleFrame(), 0);
    remove(path.c_str());
    remove(slow.c_str());
}

// Loads a 4 s tone at path with Music while no device opens; what it wrote to standard error.
std::string loadWithoutDevice(Music& music, const std::string& path) {
    EXPECT_TRUE(
        soundfiles::writeWav(path, soundfiles::sine(4.0, BIN40_HZ, 0.5, 2, 44100), 2, 44100));
    testing::internal::CaptureStderr();
    music.load(path, MP3);
    return testing::internal::GetCapturedStderr();
}

TEST_F(SoundLayerOutputs, WithoutADeviceTheSilentOutputFollowsTheClock) {
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0) {
        // The audio subsystem stays up once started (sdl12-compat cannot restart it), and with
        // it the driver an earlier test chose.
        GTEST_SKIP() << "audio already started in this process: run this test on its own";
    }
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    const std::string path = soundfiles::tempPath("tone.wav");
    Music music;
    const std::string err = loadWithoutDevice(music, path);
    EXPECT_NE(err.find("Sound is off"), std::string::npos) << err;
    EXPECT_EQ(err.find("Error!!!!"), std::string::npos) << err;
    EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_SILENT);
    ASSERT_NE(music.sample, nullptr);

    // The position is the steady clock's time since play at the track's rate: each read lies
    // between the clock's readings around play and around the read itself.
    const double before = steadySeconds();
    music.play();
    const double after = steadySeconds();
    for (int pause : {0, 50, 300}) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause));
        const double a = steadySeconds();
        const long long position = soundlayer::audibleFrame();
        const double b = steadySeconds();
        EXPECT_GE(position, static_cast<long long>((a - after) * 44100.0) - 1) << pause;
        EXPECT_LE(position, static_cast<long long>((b - before) * 44100.0) + 1) << pause;
    }
    EXPECT_EQ(loudest(std::vector<float>(music.getSpectrumBuffer(),
                                         music.getSpectrumBuffer() + FSOUND_SPECTRUM_SIZE)),
              39);
    remove(path.c_str());
}

TEST_F(SoundLayerOutputs, ALSAsOwnLinesAboutAMissingDeviceStayOffTheTerminal) {
    if (SDL_WasInit(SDL_INIT_AUDIO) != 0) {
        GTEST_SKIP() << "audio already started in this process: run this test on its own";
    }
    // An ALSA configuration without a default device, on any machine: ALSA's probe fails and
    // complains on standard error, while our layer reports the failure in its one line.
    const std::string config = soundfiles::tempPath("asound.conf");
    ASSERT_TRUE(soundfiles::writeBytes(config, {}));
    setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    const std::string path = soundfiles::tempPath("tone.wav");
    Music music;
    const std::string err = loadWithoutDevice(music, path);
    EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_SILENT);
    EXPECT_EQ(err.rfind("Sound is off: no audio device could be opened", 0), 0u) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_GT(AlsaMessages::heldLines(), 0); // ALSA did complain
    remove(path.c_str());
    remove(config.c_str());
    unsetenv("ALSA_CONFIG_PATH");
}

// Plays a song file at master volume 192 through Music and checks its level, its length and
// its end; returns the song's length in seconds.
double checkSong(const std::vector<unsigned char>& bytes, const char* name, int mode) {
    const std::string path = soundfiles::tempPath(name);
    EXPECT_TRUE(soundfiles::writeBytes(path, bytes));
    soundlayer::useManualOutput(true);
    Music music;
    loadQuietly(music, path, mode);
    remove(path.c_str());
    if (!music.song) {
        ADD_FAILURE() << name << " did not load";
        return 0.0;
    }
    const Track* track = soundlayer::songTrack(music.song);
    EXPECT_EQ(track->rate, 44100);
    music.play(); // sets the master volume to 192 and turns looping off
    const long long middle = 22050;
    const std::vector<float> at192 = spectrumAt(middle);
    const int peak = loudest(at192);
    EXPECT_GT(at192[peak], 0.002f) << name;
    EXPECT_TRUE(FMUSIC_SetMasterVolume(music.song, 256));
    const std::vector<float> at256 = spectrumAt(middle);
    EXPECT_NEAR(at192[peak] / at256[peak], 0.75f, 1e-4f) << name;
    EXPECT_FALSE(FMUSIC_SetLooping(music.song, true)); // songs play once
    EXPECT_FALSE(FMUSIC_SetMasterVolume(music.song, 257));
    EXPECT_TRUE(allZero(spectrumAt(track->frames() + 1024))) << name;
    return track->frames() / 44100.0;
}

TEST_F(SoundLayerSongs, AModulePlaysAtTheMasterVolumeAndStopsAtItsEnd) {
    // One 64-row pattern at speed 6 and 125 BPM: 64 * 6 ticks of 20 ms, and libopenmpt's
    // last tenth of a second; a repeat would double it.
    // MOD, S3M and XM name the kind of module; each loads the module by what the file holds.
    for (int mode : {MOD, S3M, XM}) {
        EXPECT_NEAR(checkSong(soundfiles::protrackerModule(), "song.mod", mode), 7.68, 0.15)
            << "mode " << mode;
    }
}

TEST_F(SoundLayerSongs, AMidiFilePlaysAtTheMasterVolumeAndStopsAfterItsLastNote) {
    // The note is held one second, then rings out for at most the release tail.
    const double seconds = checkSong(soundfiles::midiSong(), "song.mid", MIDI);
    EXPECT_GE(seconds, 1.0);
    EXPECT_LE(seconds, 3.0);
}

} // namespace
