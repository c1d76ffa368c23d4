// Music's failure lines and their streams, the version warning and the modes that load nothing.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/Music.h"
#include "platform/sound/SoundLayer.h"
#include "support/SoundFiles.h"

namespace {

struct Lines {
    std::string out;
    std::string err;
};

// Runs load then play on a fresh Music, returning what went to each stream.
Lines loadAndPlay(Music& music, const std::string& name, int mode) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    music.load(name, mode);
    music.play();
    Lines lines;
    lines.out = testing::internal::GetCapturedStdout();
    lines.err = testing::internal::GetCapturedStderr();
    return lines;
}

bool allZero(const float* v) {
    for (int i = 0; i < FSOUND_SPECTRUM_SIZE; ++i) {
        if (v[i] != 0.0f) {
            return false;
        }
    }
    return true;
}

TEST(MusicErrors, EveryCodeHasItsText) {
    EXPECT_STREQ(FMOD_ErrorString(0), "No errors");
    EXPECT_STREQ(FMOD_ErrorString(1),
                 "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.");
    EXPECT_STREQ(FMOD_ErrorString(6), "Soundcard does not support the features needed for this "
                                      "soundsystem (16bit stereo output)");
    EXPECT_STREQ(FMOD_ErrorString(9), "File not found");
    EXPECT_STREQ(FMOD_ErrorString(10), "Unknown file format");
    EXPECT_STREQ(FMOD_ErrorString(12), "Not enough memory ");
    EXPECT_STREQ(FMOD_ErrorString(18), "Required Mediaplayer codec is not installed");
    EXPECT_STREQ(FMOD_ErrorString(19), "Unknown error");
    EXPECT_STREQ(FMOD_ErrorString(-1), "Unknown error");
}

TEST(MusicErrors, BadSampleFilesPrintTheErrorLineOnStandardErrorAndPlayNothing) {
    const std::string empty = soundfiles::tempPath("empty.mp3");
    const std::string textFile = soundfiles::tempPath("text.mp3");
    ASSERT_TRUE(soundfiles::writeBytes(empty, {}));
    const std::string words = "This is a plain text file, not a track.\n";
    ASSERT_TRUE(
        soundfiles::writeBytes(textFile, std::vector<unsigned char>(words.begin(), words.end())));
    const struct {
        std::string name;
        const char* line;
    } cases[] = {{soundfiles::tempPath("missing.mp3"), "Error!!!! File not found\n"},
                 {empty, "Error!!!! Unknown file format\n"},
                 {textFile, "Error!!!! Unknown file format\n"}};
    for (const auto& c : cases) {
        Music music;
        const Lines lines = loadAndPlay(music, c.name, MP3);
        EXPECT_EQ(lines.err, c.line) << c.name;
        EXPECT_EQ(lines.out, "") << c.name;
        EXPECT_EQ(music.sample, nullptr);
        EXPECT_EQ(music.mode, MP3);
        // The failed load closed the layer; the spectrum is still a valid array, all zero.
        EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_NONE);
        ASSERT_NE(music.getSpectrumBuffer(), nullptr);
        EXPECT_TRUE(allZero(music.getSpectrumBuffer()));
    }
    remove(empty.c_str());
    remove(textFile.c_str());
}

TEST(MusicErrors, BadSongFilesPrintTheErrorLineOnStandardOutput) {
    const std::string junk = soundfiles::tempPath("junk.xm");
    const std::string cutMidi = soundfiles::tempPath("cut.mid");
    std::vector<unsigned char> noise(3000);
    for (size_t i = 0; i < noise.size(); ++i) {
        noise[i] = static_cast<unsigned char>((i * 2654435761u) >> 13);
    }
    ASSERT_TRUE(soundfiles::writeBytes(junk, noise));
    std::vector<unsigned char> midi = soundfiles::midiSong();
    midi.resize(midi.size() - 5); // cut inside its track
    ASSERT_TRUE(soundfiles::writeBytes(cutMidi, midi));
    // A folder opens but cannot be read.
    const std::string folder = soundfiles::tempPath("folder.xm");
    mkdir(folder.c_str(), 0700);
    const struct {
        std::string name;
        int mode;
        const char* line;
    } cases[] = {{soundfiles::tempPath("missing.xm"), XM, "Error!!!! File not found\n"},
                 {junk, MOD, "Error!!!! Unknown file format\n"},
                 {cutMidi, MIDI, "Error!!!! Unknown file format\n"},
                 {folder, S3M, "Error!!!! Error loading file\n"}};
    for (const auto& c : cases) {
        Music music;
        const Lines lines = loadAndPlay(music, c.name, c.mode);
        EXPECT_EQ(lines.out, c.line) << c.name;
        EXPECT_EQ(lines.err, "") << c.name;
        EXPECT_EQ(music.song, nullptr);
        EXPECT_TRUE(allZero(music.getSpectrumBuffer()));
    }
    remove(junk.c_str());
    remove(cutMidi.c_str());
    rmdir(folder.c_str());
}

TEST(MusicVersion, AnOlderLibraryGetsTheWarningAndConstructionGoesOn) {
    soundlayer::overrideVersion(3.74f);
    testing::internal::CaptureStdout();
    Music* old = new Music();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Du bruker feil version av fmod-lib (.so/.dll). Du skulle brukt fmod 3.75\n");
    EXPECT_EQ(old->mode, -1);
    delete old;

    soundlayer::overrideVersion(0.0f);
    EXPECT_GE(FSOUND_GetVersion(), 3.75f);
    testing::internal::CaptureStdout();
    Music* current = new Music();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    delete current;
}

TEST(MusicModes, ModesOutsideOneToSixLoadNothingAndPrintNothing) {
    for (int mode : {0, 7, -3}) {
        Music music;
        const Lines lines = loadAndPlay(music, "mixdown.mp3", mode);
        EXPECT_EQ(lines.out, "");
        EXPECT_EQ(lines.err, "");
        EXPECT_EQ(music.mode, mode);
        EXPECT_EQ(music.sample, nullptr);
        EXPECT_EQ(music.song, nullptr);
        EXPECT_EQ(soundlayer::outputKind(), soundlayer::OUTPUT_NONE);
        EXPECT_LE(soundlayer::audibleFrame(), 0);
        EXPECT_TRUE(allZero(music.getSpectrumBuffer()));
    }
}

} // namespace
