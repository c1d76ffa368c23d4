// MP3 decoding on demand: a scanned mpg123 handle read from wherever the track is played; whole
// at load for the files whose seeks are not exact.
#include "platform/sound/Mp3Decoder.h"

#include <mpg123.h>

#include <algorithm>
#include <cstdio>

#include "platform/sound/LoadResult.h"
#include "platform/sound/SoundFile.h"

namespace {

// Frames decoded from before the scanned end to find where decoding really stops.
const long long TAIL = 8192;
// Frames read per call when decoding whole: large reads keep the per-call cost out of the time.
const size_t READ_FRAMES = 65536;

// After a seek, mpg123 gives the very samples of a decode from the start for MPEG-1 layer III
// in stereo, at every position tried. In mono and at the half rates of MPEG-2 a sought decode
// differs from one from the start by one level now and then: their synthesis rounds by how many
// blocks went before. Those files are decoded whole, which is exact.
bool seeksExactly(mpg123_handle* mh, int channels) {
    mpg123_frameinfo info;
    return channels == 2 && mpg123_info(mh, &info) == MPG123_OK && info.version == MPG123_1_0 &&
           info.layer == 3;
}

// A handle on the file, gapless, with the track's rate and channels set; null, with why in
// result, when the file does not open as MPEG audio.
mpg123_handle* openFile(const char* name, Track* track, LoadResult* result) {
    mpg123_handle* mh = mpg123_new(nullptr, nullptr);
    if (!mh) {
        *result = LoadResult::NO_MEMORY;
        return nullptr;
    }
    // MPG123_ADD_FLAGS keeps the default gapless flag that MPG123_FLAGS would replace.
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_GAPLESS | MPG123_QUIET, 0.0);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open_fixed(mh, name, MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16) !=
            MPG123_OK ||
        mpg123_getformat(mh, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        (channels != 1 && channels != 2)) {
        mpg123_close(mh);
        mpg123_delete(mh);
        *result = LoadResult::UNKNOWN_FORMAT;
        return nullptr;
    }
    track->rate = static_cast<int>(rate);
    track->channels = channels;
    return mh;
}

void closeFile(mpg123_handle* mh) {
    mpg123_close(mh);
    mpg123_delete(mh);
}

LoadResult readWhole(mpg123_handle* mh, Track* track) {
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

Mp3Decoder::Mp3Decoder(mpg123_handle_struct* handle, int channels)
    : handle(handle), channels(channels) {}

Mp3Decoder::~Mp3Decoder() {
    closeFile(handle);
}

LoadResult Mp3Decoder::open(const char* name, Track* track) {
    if (!SoundFile::exists(name)) {
        return LoadResult::NOT_FOUND;
    }
    LoadResult result = LoadResult::OK;
    mpg123_handle* mh = openFile(name, track, &result);
    if (!mh) {
        return result;
    }
    bool stream = seeksExactly(mh, track->channels);
    if (stream) {
        // Counts every frame and fills the seek index: without it a seek is only as good as
        // the file's own table of contents.
        const off_t promised = mpg123_framelength(mh);
        mpg123_scan(mh);
        if (promised > mpg123_framelength(mh)) {
            // Cut short of the frames its header promises: the scan has turned the gapless
            // trimming off, which would move every sample. Such a file is decoded whole.
            closeFile(mh);
            mh = openFile(name, track, &result);
            if (!mh) {
                return result;
            }
            stream = false;
        }
    }
    if (!stream) {
        result = readWhole(mh, track);
        closeFile(mh);
        return result;
    }
    Mp3Decoder* decoder = new Mp3Decoder(mh, track->channels);
    const long long frames = decoder->measure();
    if (frames <= 0) {
        delete decoder;
        return LoadResult::UNKNOWN_FORMAT;
    }
    track->stream(decoder, frames);
    return LoadResult::OK;
}

long long Mp3Decoder::measure() {
    // The scanned length is where a sound file ends as its frames say; a damaged file may stop
    // decoding before it, and one written on may go beyond: decoding the last stretch tells.
    const off_t scanned = mpg123_length(handle);
    const long long from = scanned > TAIL ? scanned - TAIL : 0;
    int16_t block[4096 * 2];
    long long end = from;
    if (seek(from)) {
        for (long long got = 0; (got = read(block, 4096)) > 0;) {
            end += got;
        }
    }
    if (end > from || from == 0) {
        return end;
    }
    // Nothing decodes near the end the frames promise: count from the start instead.
    end = 0;
    if (seek(0)) {
        for (long long got = 0; (got = read(block, 4096)) > 0;) {
            end += got;
        }
    }
    return end;
}

bool Mp3Decoder::seek(long long frame) {
    return mpg123_seek(handle, static_cast<off_t>(frame), SEEK_SET) == static_cast<off_t>(frame);
}

long long Mp3Decoder::read(int16_t* out, long long count) {
    const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(channels);
    const size_t want = static_cast<size_t>(count) * frameBytes;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(out);
    size_t done = 0;
    // A new format announced on the way hands over nothing once; more empty turns than that
    // would be a stream that no longer moves.
    int emptyTurns = 0;
    while (done < want && emptyTurns < 4) {
        size_t got = 0;
        const int rc = mpg123_read(handle, bytes + done, want - done, &got);
        done += got;
        if (rc != MPG123_OK && rc != MPG123_NEW_FORMAT) {
            break; // the end, or a damaged or cut-off stream: what decoded is all there is
        }
        emptyTurns = got == 0 ? emptyTurns + 1 : 0;
    }
    return static_cast<long long>(done / frameBytes);
}
