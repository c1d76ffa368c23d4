// The demo's one music track, played through the sound layer, and its live spectrum.
#pragma once

#include <cstdint>
#include <string>

struct FMUSIC_MODULE;
struct FSOUND_SAMPLE;
class Track;

// Load modes: MP3 and OGG load a sample, the others a module.
const int MP3 = 1;
const int OGG = 2;
const int MOD = 3;
const int S3M = 4;
const int XM = 5;
const int MIDI = 6;

// The text of a sound layer error code.
const char* FMOD_ErrorString(int code);

class Music {
  public:
    Music();
    ~Music();

    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void load(std::string name, int mode);
    void play();
    // The layer's own 512-float spectrum, read in place; never null.
    float* getSpectrumBuffer();

    // Whether a sample or a module loaded.
    bool isLoaded() const;

    // What the tools (capture, preview) and the tests ask of the track; of these the demo
    // asks only hasManualOutput, at start-up. Positions are frames of the track: one sample
    // per channel each.
    //
    // Chooses, for the next load, an output whose position only seek moves (no device and no
    // clock): the capture's frames then hear the track exactly where they are drawn.
    static void useManualOutput(bool manual);
    // Chooses, for the next load, short device buffers (about 23 ms): what is heard follows a
    // seek at once, where the demo's own buffers (a third of a second) would keep playing what
    // they hold; less margin against a busy machine. For the preview.
    static void useShortBuffers(bool shortBuffers);
    // Whether the output opened is that manual one.
    static bool hasManualOutput();
    // Frames a second, channels and length in frames of what loaded; 0 when nothing did.
    int rate() const;
    int channels() const;
    long long frames() const;
    // Frames [first, first + count) of what loaded, interleaved, into out (count * channels()
    // samples); silence outside the track or when nothing loaded.
    void readFrames(long long first, long long count, int16_t* out) const;
    // What is heard moves to frame: it plays on from there, or, paused, is held there (the
    // spectrum then stays that of frame). Nothing happens before play.
    void seek(long long frame, bool paused);
    // Frames heard so far; 0 or less before the first is heard or when nothing plays.
    long long audibleFrame() const;

    FMUSIC_MODULE* song;
    FSOUND_SAMPLE* sample;
    int mode;

  private:
    // The track of what loaded; null when nothing did.
    const Track* track() const;
};
