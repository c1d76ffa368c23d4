// Sound layer state shared by every call: version, errors, the spectrum array and the seams.
#include "platform/sound/SoundLayer.h"

#include <cstdio>
#include <cstring>

namespace {

const float LAYER_VERSION = 3.75f;

struct LayerState {
    float versionOverride = 0.0f;
    int error = FMOD_ERR_NONE;
    bool initialised = false;
    bool manualRequested = false;
    soundlayer::OutputKind output = soundlayer::OUTPUT_NONE;
    const float* spectrumOverride = nullptr;
    float spectrum[FSOUND_SPECTRUM_SIZE] = {};
};

LayerState& state() {
    static LayerState s;
    return s;
}

bool fileExists(const char* name) {
    FILE* f = name ? fopen(name, "rb") : nullptr;
    if (!f) {
        return false;
    }
    fclose(f);
    return true;
}

} // namespace

float FSOUND_GetVersion() {
    return state().versionOverride > 0.0f ? state().versionOverride : LAYER_VERSION;
}

bool FSOUND_Init(int, int, unsigned int) {
    LayerState& s = state();
    if (s.initialised) {
        s.error = FMOD_ERR_BUSY;
        return false;
    }
    s.initialised = true;
    s.output = s.manualRequested ? soundlayer::OUTPUT_MANUAL : soundlayer::OUTPUT_SILENT;
    s.error = FMOD_ERR_NONE;
    return true;
}

int FSOUND_GetError() {
    return state().error;
}

void FSOUND_Close() {
    state().initialised = false;
    state().output = soundlayer::OUTPUT_NONE;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* name, unsigned int, int, int) {
    state().error = fileExists(name) ? FMOD_ERR_FILE_FORMAT : FMOD_ERR_FILE_NOTFOUND;
    return nullptr;
}

void FSOUND_Sample_Free(FSOUND_SAMPLE*) {}

int FSOUND_PlaySound(int, FSOUND_SAMPLE* sample) {
    if (!sample) {
        state().error = FMOD_ERR_INVALID_PARAM;
        return -1;
    }
    return 0;
}

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name) {
    state().error = fileExists(name) ? FMOD_ERR_FILE_FORMAT : FMOD_ERR_FILE_NOTFOUND;
    return nullptr;
}

bool FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int) {
    return song != nullptr;
}

bool FMUSIC_SetLooping(FMUSIC_MODULE* song, bool) {
    return song != nullptr;
}

bool FMUSIC_PlaySong(FMUSIC_MODULE* song) {
    return song != nullptr;
}

bool FMUSIC_FreeSong(FMUSIC_MODULE* song) {
    return song != nullptr;
}

FSOUND_DSPUNIT* FSOUND_DSP_GetFFTUnit() {
    return nullptr;
}

bool FSOUND_DSP_SetActive(FSOUND_DSPUNIT*, bool) {
    return true;
}

float* FSOUND_DSP_GetSpectrum() {
    LayerState& s = state();
    if (s.spectrumOverride) {
        memcpy(s.spectrum, s.spectrumOverride, sizeof(s.spectrum));
    }
    return s.spectrum;
}

namespace soundlayer {

void useManualOutput(bool manual) {
    state().manualRequested = manual;
}

void setManualPosition(long long) {}

OutputKind outputKind() {
    return state().output;
}

void overrideSpectrum(const float* values) {
    LayerState& s = state();
    s.spectrumOverride = values;
    if (!values) {
        memset(s.spectrum, 0, sizeof(s.spectrum));
    }
}

void overrideVersion(float version) {
    state().versionOverride = version;
}

} // namespace soundlayer
