// The demo's one music track, played through the sound layer, and its live spectrum.
#pragma once

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
    // The decoded frames of what loaded (to write the soundtrack out, or to read its rate);
    // null when nothing did.
    const Track* track() const;

    FMUSIC_MODULE* song;
    FSOUND_SAMPLE* sample;
    int mode;
};
