// Writes the sound fuzzers' seed corpora: the tests' own small files, one folder per loader.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/SoundFiles.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
        return 2;
    }
    const std::string dir = argv[1];
    for (const char* loader : {"wav", "mp3", "ogg", "midi", "module"}) {
        mkdir((dir + "/" + loader).c_str(), 0755);
    }
    // Short sounds keep each run fast; mono and stereo, two rates.
    const std::vector<int16_t> mono = soundfiles::sine(0.05, 1000.0, 0.5, 1, 22050);
    const std::vector<int16_t> stereo = soundfiles::sine(0.05, 440.0, 0.5, 2, 44100);
    std::vector<unsigned char> song = soundfiles::midiSong();
    bool ok = soundfiles::writeWav(dir + "/wav/mono.wav", mono, 1, 22050) &&
              soundfiles::writeWav(dir + "/wav/stereo.wav", stereo, 2, 44100) &&
              soundfiles::writeMp3(dir + "/mp3/mono.mp3", mono, 1, 22050, 32) &&
              soundfiles::writeMp3(dir + "/mp3/stereo.mp3", stereo, 2, 44100, 128) &&
              soundfiles::writeOgg(dir + "/ogg/mono.ogg", mono, 1, 22050) &&
              soundfiles::writeOgg(dir + "/ogg/stereo.ogg", stereo, 2, 44100) &&
              soundfiles::writeBytes(dir + "/midi/song.mid", song) &&
              soundfiles::writeBytes(dir + "/module/song.mod", soundfiles::protrackerModule());
    return ok ? 0 : 1;
}
