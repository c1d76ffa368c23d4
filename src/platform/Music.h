// The demo's one music track, played through the sound layer, and its live spectrum.
#pragma once

#include <string>

#include "platform/sound/SoundLayer.h"

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

    FMUSIC_MODULE* song;
    FSOUND_SAMPLE* sample;
    int mode;
};
