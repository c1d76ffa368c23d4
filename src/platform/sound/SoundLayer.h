// Our sound layer: the calls, constants and behaviour that Music relies on, over Debian's
// libraries. Only Music (and the layer's own tests) call it; the seams are in SoundSeams.h.
#pragma once

#include "platform/sound/SoundSeams.h"

struct FSOUND_SAMPLE;
struct FMUSIC_MODULE;
struct FSOUND_DSPUNIT;
class Track;

// The library version this layer implements, which is the one the demo asks for.
const float FMOD_VERSION = 3.75f;

// Channel index meaning "any free channel".
const int FSOUND_FREE = -1;

// Sample mode bits; FSOUND_NORMAL is what Music asks for.
const unsigned int FSOUND_16BITS = 0x10;
const unsigned int FSOUND_MONO = 0x20;
const unsigned int FSOUND_SIGNED = 0x100;
const unsigned int FSOUND_NORMAL = FSOUND_16BITS | FSOUND_SIGNED | FSOUND_MONO;

// Error codes reported by FSOUND_GetError; FMOD_ErrorString gives their texts.
enum FMOD_ERRORS {
    FMOD_ERR_NONE = 0,
    FMOD_ERR_BUSY,
    FMOD_ERR_UNINITIALIZED,
    FMOD_ERR_INIT,
    FMOD_ERR_ALLOCATED,
    FMOD_ERR_PLAY,
    FMOD_ERR_OUTPUT_FORMAT,
    FMOD_ERR_COOPERATIVELEVEL,
    FMOD_ERR_CREATEBUFFER,
    FMOD_ERR_FILE_NOTFOUND,
    FMOD_ERR_FILE_FORMAT,
    FMOD_ERR_FILE_BAD,
    FMOD_ERR_MEMORY,
    FMOD_ERR_VERSION,
    FMOD_ERR_INVALID_PARAM,
    FMOD_ERR_NO_EAX,
    FMOD_ERR_CHANNEL_ALLOC,
    FMOD_ERR_RECORD,
    FMOD_ERR_MEDIAPLAYER
};

// Number of floats in the spectrum array.
const int FSOUND_SPECTRUM_SIZE = 512;

float FSOUND_GetVersion();
bool FSOUND_Init(int rate, int channels, unsigned int flags);
int FSOUND_GetError();
void FSOUND_Close();

FSOUND_SAMPLE* FSOUND_Sample_Load(int index, const char* name, unsigned int mode, int offset,
                                  int length);
void FSOUND_Sample_Free(FSOUND_SAMPLE* sample);
int FSOUND_PlaySound(int channel, FSOUND_SAMPLE* sample);

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name);
bool FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int volume);
bool FMUSIC_SetLooping(FMUSIC_MODULE* song, bool loop);
bool FMUSIC_PlaySong(FMUSIC_MODULE* song);
bool FMUSIC_FreeSong(FMUSIC_MODULE* song);

FSOUND_DSPUNIT* FSOUND_DSP_GetFFTUnit();
bool FSOUND_DSP_SetActive(FSOUND_DSPUNIT* unit, bool active);
// The layer's own array of 512 magnitudes of what is audible now; recomputed on each call.
float* FSOUND_DSP_GetSpectrum();

namespace soundlayer {

// The track of a loaded sample or song (for writing the soundtrack out); null for null.
const Track* sampleTrack(const FSOUND_SAMPLE* sample);
const Track* songTrack(const FMUSIC_MODULE* song);

} // namespace soundlayer
