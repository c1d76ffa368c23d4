// Sound layer state shared by every call: version, errors, the open output, the playing
// sound, the spectrum array and the seams.
#include "platform/sound/SoundLayer.h"

#include <cstdio>
#include <cstring>

#include <SDL.h>

#include "platform/sound/DeviceOutput.h"
#include "platform/sound/ManualOutput.h"
#include "platform/sound/Playback.h"
#include "platform/sound/SilentOutput.h"
#include "platform/sound/FrequencyAnalyser.h"
#include "platform/sound/Track.h"
#include "platform/sound/TrackLoader.h"

struct FSOUND_SAMPLE {
    Track track;
};

struct FMUSIC_MODULE {
    Track track;
    int volume = Playback::FULL_VOLUME;
};

struct FSOUND_DSPUNIT {
    bool active = false;
};

namespace {

struct LayerState {
    float versionOverride = 0.0f;
    int error = FMOD_ERR_NONE;
    bool initialised = false;
    bool manualRequested = false;
    bool shortBuffers = false;
    long long manualPosition = 0;
    Output* output = nullptr;
    const Track* playing = nullptr;
    int playingVolume = Playback::FULL_VOLUME;
    FSOUND_DSPUNIT fftUnit;
    FrequencyAnalyser* analyser = nullptr;             // made on first use, kept for the process
    int16_t heard[FrequencyAnalyser::WINDOW * 2] = {}; // the frames the spectrum analyses
    const float* spectrumOverride = nullptr;
    float spectrum[FSOUND_SPECTRUM_SIZE] = {};
};

LayerState& state() {
    static LayerState s;
    return s;
}

bool fail(int code) {
    state().error = code;
    return false;
}

// The one place where what a loader reports becomes the layer's error code.
int errorCode(LoadResult result) {
    switch (result) {
    case LoadResult::OK:
        return FMOD_ERR_NONE;
    case LoadResult::NOT_FOUND:
        return FMOD_ERR_FILE_NOTFOUND;
    case LoadResult::UNREADABLE:
        return FMOD_ERR_FILE_BAD;
    case LoadResult::UNKNOWN_FORMAT:
        return FMOD_ERR_FILE_FORMAT;
    case LoadResult::NO_MEMORY:
        return FMOD_ERR_MEMORY;
    }
    return FMOD_ERR_FILE_BAD;
}

// A new sample or song whose track the loader fills; null, with the error set, on failure.
template <class Handle>
Handle* loadHandle(const char* name, LoadResult (*load)(const char*, Track*)) {
    if (!state().initialised) {
        fail(FMOD_ERR_UNINITIALIZED);
        return nullptr;
    }
    Handle* handle = new Handle();
    const LoadResult result = load(name, &handle->track);
    if (result != LoadResult::OK) {
        delete handle;
        fail(errorCode(result));
        return nullptr;
    }
    return handle;
}

void soundOff() {
    const char* why = SDL_GetError();
    fprintf(stderr, "Sound is off: no audio device could be opened%s%s\n", *why ? ": " : "", why);
    fflush(stderr);
}

// The device when it opens, else the silent output; the manual output when asked for.
Output* openOutput(int rate) {
    if (state().manualRequested) {
        ManualOutput* manual = new ManualOutput();
        manual->setPosition(state().manualPosition);
        return manual;
    }
    DeviceOutput* device = new DeviceOutput(state().shortBuffers);
    if (device->open(rate, 2)) {
        return device;
    }
    delete device;
    soundOff();
    return new SilentOutput();
}

bool startPlaying(const Track* track, int volume) {
    LayerState& s = state();
    if (!s.output->play(track, volume)) {
        // The device would not reopen at this track's rate: go on without sound.
        soundOff();
        delete s.output;
        s.output = new SilentOutput();
        s.output->play(track, volume);
    }
    s.playing = track;
    s.playingVolume = volume;
    return true;
}

void stopIfPlaying(const Track* track) {
    LayerState& s = state();
    if (s.playing == track && s.output) {
        s.output->stop();
        s.playing = nullptr;
    }
}

} // namespace

float FSOUND_GetVersion() {
    return state().versionOverride > 0.0f ? state().versionOverride : FMOD_VERSION;
}

bool FSOUND_Init(int rate, int channels, unsigned int) {
    LayerState& s = state();
    if (s.initialised) {
        return fail(FMOD_ERR_BUSY);
    }
    if (rate < 8000 || rate > 192000 || channels < 1) {
        return fail(FMOD_ERR_INVALID_PARAM);
    }
    s.output = openOutput(rate);
    s.initialised = true;
    s.error = FMOD_ERR_NONE;
    return true;
}

int FSOUND_GetError() {
    return state().error;
}

void FSOUND_Close() {
    LayerState& s = state();
    if (s.output) {
        s.output->stop();
        delete s.output;
        s.output = nullptr;
    }
    s.playing = nullptr;
    s.initialised = false;
}

FSOUND_SAMPLE* FSOUND_Sample_Load(int, const char* name, unsigned int, int, int) {
    // Whatever the mode asks, the file keeps its own channels and rate.
    return loadHandle<FSOUND_SAMPLE>(name, &TrackLoader::loadSample);
}

void FSOUND_Sample_Free(FSOUND_SAMPLE* sample) {
    if (sample) {
        stopIfPlaying(&sample->track);
        delete sample;
    }
}

int FSOUND_PlaySound(int, FSOUND_SAMPLE* sample) {
    if (!state().initialised) {
        fail(FMOD_ERR_UNINITIALIZED);
        return -1;
    }
    if (!sample) {
        fail(FMOD_ERR_INVALID_PARAM);
        return -1;
    }
    startPlaying(&sample->track, Playback::FULL_VOLUME);
    return 0;
}

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name) {
    return loadHandle<FMUSIC_MODULE>(name, &TrackLoader::loadSong);
}

bool FMUSIC_SetMasterVolume(FMUSIC_MODULE* song, int volume) {
    if (!song || volume < 0 || volume > Playback::FULL_VOLUME) {
        return fail(FMOD_ERR_INVALID_PARAM);
    }
    song->volume = volume;
    LayerState& s = state();
    if (s.playing == &song->track) {
        s.playingVolume = volume;
        s.output->setVolume(volume);
    }
    return true;
}

bool FMUSIC_SetLooping(FMUSIC_MODULE* song, bool loop) {
    // Songs play once: they are rendered whole from start to end at load.
    if (!song || loop) {
        return fail(FMOD_ERR_INVALID_PARAM);
    }
    return true;
}

bool FMUSIC_PlaySong(FMUSIC_MODULE* song) {
    if (!state().initialised) {
        return fail(FMOD_ERR_UNINITIALIZED);
    }
    if (!song) {
        return fail(FMOD_ERR_INVALID_PARAM);
    }
    return startPlaying(&song->track, song->volume);
}

bool FMUSIC_FreeSong(FMUSIC_MODULE* song) {
    if (!song) {
        return fail(FMOD_ERR_INVALID_PARAM);
    }
    stopIfPlaying(&song->track);
    delete song;
    return true;
}

FSOUND_DSPUNIT* FSOUND_DSP_GetFFTUnit() {
    return &state().fftUnit;
}

bool FSOUND_DSP_SetActive(FSOUND_DSPUNIT* unit, bool active) {
    if (!unit) {
        return fail(FMOD_ERR_INVALID_PARAM);
    }
    unit->active = active;
    return true;
}

float* FSOUND_DSP_GetSpectrum() {
    LayerState& s = state();
    if (s.spectrumOverride) {
        memcpy(s.spectrum, s.spectrumOverride, sizeof(s.spectrum));
        return s.spectrum;
    }
    const long long end = soundlayer::audibleFrame();
    if (!s.fftUnit.active || end <= 0) {
        memset(s.spectrum, 0, sizeof(s.spectrum));
        return s.spectrum;
    }
    if (!s.analyser) {
        s.analyser = new FrequencyAnalyser();
    }
    const float gain = static_cast<float>(s.playingVolume) / Playback::FULL_VOLUME;
    // The frames the output handed over, where it keeps them: the thread that decodes the
    // track is not waited for.
    const int window = FrequencyAnalyser::WINDOW;
    if (!s.output->heardFrames(end - window, window, s.heard)) {
        s.playing->read(end - window, window, s.heard);
    }
    s.analyser->compute(s.heard, s.playing->channels, gain, s.spectrum);
    return s.spectrum;
}

namespace soundlayer {

void useManualOutput(bool manual) {
    state().manualRequested = manual;
}

void useShortBuffers(bool shortBuffers) {
    state().shortBuffers = shortBuffers;
}

void setManualPosition(long long frame) {
    LayerState& s = state();
    s.manualPosition = frame;
    if (s.output && s.output->kind() == OUTPUT_MANUAL) {
        static_cast<ManualOutput*>(s.output)->setPosition(frame);
    }
}

OutputKind outputKind() {
    return state().output ? state().output->kind() : OUTPUT_NONE;
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

long long audibleFrame() {
    LayerState& s = state();
    return s.output && s.playing ? s.output->audibleFrame() : -1;
}

void seekOutput(long long frame, bool paused) {
    LayerState& s = state();
    if (s.output && s.playing) {
        s.output->seek(frame, paused);
    }
}

int callbackTimes(CallbackTime* out, int most) {
    LayerState& s = state();
    if (!s.output || s.output->kind() != OUTPUT_DEVICE) {
        return 0;
    }
    return static_cast<DeviceOutput*>(s.output)->callbackTimes(out, most);
}

const Track* sampleTrack(const FSOUND_SAMPLE* sample) {
    return sample ? &sample->track : nullptr;
}

const Track* songTrack(const FMUSIC_MODULE* song) {
    return song ? &song->track : nullptr;
}

} // namespace soundlayer
