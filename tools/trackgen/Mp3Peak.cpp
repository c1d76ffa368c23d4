// Peak measurement of an encoded file with libmpg123.
#include "trackgen/Mp3Peak.h"

#include <cmath>
#include <mpg123.h>

float Mp3Peak::measure(const std::string& path) const {
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) {
        return -1.0f;
    }
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    if (mpg123_open_fixed(mh, path.c_str(), MPG123_STEREO, MPG123_ENC_FLOAT_32) != MPG123_OK) {
        mpg123_delete(mh);
        return -1.0f;
    }
    float buffer[16384];
    size_t done = 0;
    float peak = 0.0f;
    int err = MPG123_OK;
    while (err == MPG123_OK || err == MPG123_NEW_FORMAT) {
        err = mpg123_read(mh, reinterpret_cast<unsigned char*>(buffer), sizeof(buffer), &done);
        for (size_t i = 0; i < done / sizeof(float); ++i) {
            peak = std::fmax(peak, std::fabs(buffer[i]));
        }
    }
    mpg123_close(mh);
    mpg123_delete(mh);
    return err == MPG123_DONE ? peak : -1.0f;
}
