// MP3 decoding with libmpg123 and the spectrum with kissfft.
#include "TrackProbe.h"

#include <cmath>
#include <kiss_fftr.h>
#include <mpg123.h>

TrackProbe::TrackProbe() : window(WINDOW) {
    for (int i = 0; i < WINDOW; ++i) {
        window[i] = 0.5f - 0.5f * std::cos(6.28318531f * static_cast<float>(i) / WINDOW);
        windowSum += window[i];
    }
    fft = kiss_fftr_alloc(WINDOW, 0, nullptr, nullptr);
}

TrackProbe::~TrackProbe() {
    kiss_fftr_free(fft);
}

bool TrackProbe::load(const std::string& path) {
    pcm.clear();
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) {
        return false;
    }
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    if (mpg123_open_fixed(mh, path.c_str(), MPG123_STEREO, MPG123_ENC_SIGNED_16) != MPG123_OK) {
        mpg123_delete(mh);
        return false;
    }
    long rateValue = 0;
    int channelsValue = 0;
    int encoding = 0;
    mpg123_getformat(mh, &rateValue, &channelsValue, &encoding);
    unsigned char buffer[65536];
    size_t done = 0;
    int err = MPG123_OK;
    while (err == MPG123_OK || err == MPG123_NEW_FORMAT) {
        err = mpg123_read(mh, buffer, sizeof(buffer), &done);
        const short* s = reinterpret_cast<const short*>(buffer);
        pcm.insert(pcm.end(), s, s + done / sizeof(short));
    }
    mpg123_frameinfo info;
    if (mpg123_info(mh, &info) == MPG123_OK) {
        kbps = info.bitrate;
        cbr = info.vbr == MPG123_CBR;
    }
    // The stream's own channel count, before the fixed stereo output.
    sampleRate = static_cast<int>(rateValue);
    channelCount = info.mode == MPG123_M_MONO ? 1 : 2;
    mpg123_close(mh);
    mpg123_delete(mh);
    return err == MPG123_DONE && !pcm.empty();
}

void TrackProbe::spectrumAt(long long frame, float out[ENTRIES]) const {
    float in[WINDOW];
    kiss_fft_cpx bins[WINDOW / 2 + 1];
    const long long first = frame - WINDOW;
    for (int i = 0; i < WINDOW; ++i) {
        const long long f = first + i;
        float mono = 0.0f;
        if (f >= 0 && f < frames()) {
            mono = (static_cast<float>(pcm[2 * f]) + static_cast<float>(pcm[2 * f + 1])) *
                   (0.5f / 32768.0f);
        }
        in[i] = mono * window[i];
    }
    kiss_fftr(fft, in, bins);
    const float scale = 2.0f / windowSum;
    for (int k = 0; k < ENTRIES; ++k) {
        const kiss_fft_cpx& b = bins[k + 1];
        float m = std::sqrt(b.r * b.r + b.i * b.i) * scale;
        out[k] = m > 1.0f ? 1.0f : m;
    }
}
