// Test support: sound files made on the spot (MP3 through libmp3lame, Ogg Vorbis through
// libvorbisenc, WAV, MOD, MIDI).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace soundfiles {

// Interleaved 16-bit frames of a sine at frequency Hz and amplitude (1 = full scale).
std::vector<int16_t> sine(double seconds, double frequency, double amplitude, int channels,
                          int rate);
// Encodes frames to a constant-bit-rate MP3 with its Info tag (gapless length); true on success.
bool writeMp3(const std::string& path, const std::vector<int16_t>& frames, int channels, int rate,
              int kbps);
// An Ogg Vorbis file (quality 0.5 of libvorbisenc's 0 to 1); true on success.
bool writeOgg(const std::string& path, const std::vector<int16_t>& frames, int channels, int rate);
// A 16-bit PCM WAV file.
bool writeWav(const std::string& path, const std::vector<int16_t>& frames, int channels, int rate);
// Bytes of a 4-channel ProTracker module: one 64-row pattern at speed 6 and 125 BPM (7.68 s)
// whose first row starts a looped 32-byte sine sample at period 214 (about 518 Hz).
std::vector<unsigned char> protrackerModule();
// Bytes of a type 0 MIDI file: one piano A4 held for one second (96 ticks per quarter, 120 BPM).
std::vector<unsigned char> midiSong();
bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes);
// A fresh path in the test's temporary folder.
std::string tempPath(const std::string& name);

} // namespace soundfiles
