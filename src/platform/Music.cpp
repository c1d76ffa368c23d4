// Loading and playing the track through the sound layer, with its failure lines.
#include "platform/Music.h"

#include <iostream>

#include "platform/sound/SoundLayer.h"
#include "platform/sound/Track.h"

namespace {

void printError(std::ostream& out) {
    out << "Error!!!! " << FMOD_ErrorString(FSOUND_GetError()) << std::endl;
}

} // namespace

const char* FMOD_ErrorString(int code) {
    switch (code) {
    case FMOD_ERR_NONE:
        return "No errors";
    case FMOD_ERR_BUSY:
        return "Cannot call this command after FSOUND_Init.  Call FSOUND_Close first.";
    case FMOD_ERR_UNINITIALIZED:
        return "This command failed because FSOUND_Init was not called";
    case FMOD_ERR_INIT:
        return "Error initializing output device.";
    case FMOD_ERR_ALLOCATED:
        return "The output device is already in use and cannot be reused.";
    case FMOD_ERR_PLAY:
        return "Playing the sound failed.";
    case FMOD_ERR_OUTPUT_FORMAT:
        return "Soundcard does not support the features needed for this soundsystem (16bit stereo "
               "output)";
    case FMOD_ERR_COOPERATIVELEVEL:
        return "Error setting cooperative level for hardware.";
    case FMOD_ERR_CREATEBUFFER:
        return "Error creating hardware sound buffer.";
    case FMOD_ERR_FILE_NOTFOUND:
        return "File not found";
    case FMOD_ERR_FILE_FORMAT:
        return "Unknown file format";
    case FMOD_ERR_FILE_BAD:
        return "Error loading file";
    case FMOD_ERR_MEMORY:
        return "Not enough memory ";
    case FMOD_ERR_VERSION:
        return "The version number of this file format is not supported";
    case FMOD_ERR_INVALID_PARAM:
        return "An invalid parameter was passed to this function";
    case FMOD_ERR_NO_EAX:
        return "Tried to use an EAX command on a non EAX enabled channel or output.";
    case FMOD_ERR_CHANNEL_ALLOC:
        return "Failed to allocate a new channel";
    case FMOD_ERR_RECORD:
        return "Recording not supported on this device";
    case FMOD_ERR_MEDIAPLAYER:
        return "Required Mediaplayer codec is not installed";
    default:
        return "Unknown error";
    }
}

Music::Music() : song(nullptr), sample(nullptr), mode(-1) {
    // A warning only: with our layer the versions are equal and the line is never printed, but
    // a build against an older layer would say so, as the demo always has.
    if (FSOUND_GetVersion() < FMOD_VERSION) {
        std::cout << "Du bruker feil version av fmod-lib (.so/.dll). Du skulle brukt fmod "
                  << FMOD_VERSION << std::endl;
    }
}

Music::~Music() {
    if (sample) {
        FSOUND_Sample_Free(sample);
    }
    if (song) {
        FMUSIC_FreeSong(song);
    }
    FSOUND_Close();
}

void Music::load(std::string name, int mode) {
    this->mode = mode;
    if (mode <= 0 || mode >= 7) {
        return;
    }
    if (mode == MP3 || mode == OGG) {
        // Sample failures go to standard error; the load is tried even after a failed init.
        if (!FSOUND_Init(44100, 32, 0)) {
            printError(std::cerr);
            FSOUND_Close();
        }
        sample = FSOUND_Sample_Load(FSOUND_FREE, name.c_str(), FSOUND_NORMAL, 0, 0);
        if (!sample) {
            printError(std::cerr);
            FSOUND_Close();
        }
        return;
    }
    // Module failures go to standard output, and the library stays open.
    if (!FSOUND_Init(44100, 32, 1)) {
        printError(std::cout);
    }
    song = FMUSIC_LoadSong(name.c_str());
    if (!song) {
        printError(std::cout);
    }
}

void Music::play() {
    // Both act on a module only; with a sample loaded song is null and nothing changes.
    FMUSIC_SetMasterVolume(song, 192);
    FMUSIC_SetLooping(song, false);
    FSOUND_DSP_SetActive(FSOUND_DSP_GetFFTUnit(), true);
    if (mode == MP3 || mode == OGG) {
        FSOUND_PlaySound(FSOUND_FREE, sample);
    } else {
        FMUSIC_PlaySong(song);
    }
}

float* Music::getSpectrumBuffer() {
    return FSOUND_DSP_GetSpectrum();
}

bool Music::isLoaded() const {
    return sample || song;
}

const Track* Music::track() const {
    return sample ? soundlayer::sampleTrack(sample) : soundlayer::songTrack(song);
}

void Music::useManualOutput(bool manual) {
    soundlayer::useManualOutput(manual);
}

void Music::useShortBuffers(bool shortBuffers) {
    soundlayer::useShortBuffers(shortBuffers);
}

bool Music::hasManualOutput() {
    return soundlayer::outputKind() == soundlayer::OUTPUT_MANUAL;
}

int Music::rate() const {
    const Track* loaded = track();
    return loaded ? loaded->rate : 0;
}

long long Music::frames() const {
    const Track* loaded = track();
    return loaded ? loaded->frames() : 0;
}

int Music::channels() const {
    const Track* loaded = track();
    return loaded ? loaded->channels : 0;
}

void Music::readFrames(long long first, long long count, int16_t* out) const {
    const Track* loaded = track();
    if (loaded) {
        loaded->read(first, count, out);
    }
}

void Music::seek(long long frame, bool paused) {
    soundlayer::seekOutput(frame, paused);
}

long long Music::audibleFrame() const {
    return soundlayer::audibleFrame();
}
