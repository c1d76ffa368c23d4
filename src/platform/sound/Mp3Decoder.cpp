// Whole-file MP3 decoding into 16-bit frames.
#include "platform/sound/Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>

#include "platform/sound/LoadResult.h"
#include "platform/sound/SoundFile.h"

namespace {

// Frames read per call: large reads keep the per-call cost out of the decode time.
const size_t READ_FRAMES = 65536;

LoadResult readAll(mpg123_handle* mh, Track* track) {
    // The header's length is exact for gapless files; reserving it and one read more avoids
    // a doubling copy that would briefly hold the track twice.
    const long long expected = std::min<long long>(mpg123_length(mh), Track::MOST_FRAMES_RESERVED);
    if (expected > 0) {
        track->samples.reserve((static_cast<size_t>(expected) + READ_FRAMES) * track->channels);
    }
    size_t used = 0;
    for (;;) {
        const size_t want = READ_FRAMES * track->channels;
        track->samples.resize(used + want);
        size_t bytes = 0;
        const int rc = mpg123_read(mh, reinterpret_cast<unsigned char*>(&track->samples[used]),
                                   want * sizeof(int16_t), &bytes);
        used += bytes / sizeof(int16_t);
        if (rc == MPG123_OK || rc == MPG123_NEW_FORMAT) {
            continue;
        }
        // Done, or a damaged or cut-off stream: what decoded so far is the track.
        break;
    }
    used -= used % track->channels;
    track->samples.resize(used);
    return used > 0 ? LoadResult::OK : LoadResult::UNKNOWN_FORMAT;
}

} // namespace

LoadResult Mp3Decoder::decode(const char* name, Track* track) {
    if (!SoundFile::exists(name)) {
        return LoadResult::NOT_FOUND;
    }
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) {
        return LoadResult::NO_MEMORY;
    }
    // MPG123_ADD_FLAGS keeps the default gapless flag that MPG123_FLAGS would replace.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    LoadResult result = LoadResult::UNKNOWN_FORMAT;
    if (mpg123_open_fixed(mh, name, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16) ==
        MPG123_OK) {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        if (mpg123_getformat(mh, &rate, &channels, &encoding) == MPG123_OK && rate > 0 &&
            (channels == 1 || channels == 2)) {
            track->rate = static_cast<int>(rate);
            track->channels = channels;
            result = readAll(mh, track);
        }
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    return result;
}
