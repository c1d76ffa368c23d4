// Reading a track through Music and the sound layer's manual output.
#include "trackplot/TrackProbe.h"

#include <cstring>
#include <mpg123.h>

#include "platform/Music.h"

TrackProbe::~TrackProbe() {
    delete music;
}

bool TrackProbe::load(const std::string& path) {
    Music::useManualOutput(true);
    music = new Music();
    music->load(path, MP3);
    if (!music->isLoaded()) {
        return false;
    }
    music->play();
    decoded.resize(static_cast<size_t>(music->frames() * music->channels()));
    music->readFrames(0, music->frames(), decoded.data());
    readStreamInfo(path);
    return music->frames() > 0;
}

long long TrackProbe::frames() const {
    return music ? music->frames() : 0;
}

int TrackProbe::rate() const {
    return music ? music->rate() : 0;
}

int TrackProbe::channels() const {
    return music ? music->channels() : 0;
}

const std::vector<int16_t>& TrackProbe::samples() const {
    return decoded;
}

void TrackProbe::spectrumAt(long long frame, float out[ENTRIES]) const {
    music->seek(frame, true);
    memcpy(out, music->getSpectrumBuffer(), sizeof(float) * ENTRIES);
}

void TrackProbe::readStreamInfo(const std::string& path) {
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) {
        return;
    }
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    unsigned char* audio = nullptr;
    size_t bytes = 0;
    off_t num = 0;
    mpg123_frameinfo info;
    if (mpg123_open(mh, path.c_str()) == MPG123_OK &&
        mpg123_decode_frame(mh, &num, &audio, &bytes) != MPG123_ERR &&
        mpg123_info(mh, &info) == MPG123_OK) {
        kbps = info.bitrate;
        cbr = info.vbr == MPG123_CBR;
    }
    mpg123_close(mh);
    mpg123_delete(mh);
}
