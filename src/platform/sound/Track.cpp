// Reading a track: a copy from memory, or from a window of decoded frames that a streamed
// track refills from its decoder as the reads move on.
#include "platform/sound/Track.h"

#include <cstddef>
#include <cstring>

#include "platform/sound/TrackDecoder.h"

namespace {

// The window holds about 1.5 s at 44100 Hz: 256 KB of stereo.
const long long CAPACITY = 65536;
// Frames decoded per call of the decoder.
const long long BLOCK = 4096;
// Frames kept behind the newest when the window is full: the spectrum reads what is heard
// now, which lags what the device has been handed by up to a few buffers.
const long long KEEP = 16384;
// A read that needs a new start decodes from this far before it, so that the spectrum's
// frames before a freshly sought position are there too.
const long long BEHIND = 4096;
// A read further than this past the window's end starts afresh at a seek: decoding through
// would cost more.
const long long JUMP = 16384;

} // namespace

Track::Track()
    : samples(), rate(0), channels(0), decoder(nullptr), length(0), lock(), window(),
      windowFirst(0), windowFrames(0) {}

Track::~Track() {
    delete decoder;
}

long long Track::frames() const {
    if (decoder) {
        return length;
    }
    return channels > 0 ? static_cast<long long>(samples.size()) / channels : 0;
}

void Track::stream(TrackDecoder* source, long long frames) {
    delete decoder;
    decoder = source;
    length = frames;
    samples.clear();
    window.assign(static_cast<size_t>(CAPACITY * channels), 0);
    windowFirst = 0;
    windowFrames = 0;
}

void Track::read(long long first, long long count, int16_t* out) const {
    if (count <= 0 || channels <= 0) {
        return;
    }
    const size_t frameBytes = sizeof(int16_t) * static_cast<size_t>(channels);
    memset(out, 0, static_cast<size_t>(count) * frameBytes);
    long long from = first < 0 ? 0 : first;
    const long long total = frames();
    const long long to = first + count < total ? first + count : total;
    if (from >= to) {
        return;
    }
    if (!decoder) {
        memcpy(out + (from - first) * channels, &samples[static_cast<size_t>(from * channels)],
               static_cast<size_t>(to - from) * frameBytes);
        return;
    }
    std::lock_guard<std::mutex> held(lock);
    while (from < to && fetch(from)) {
        const long long end = windowFirst + windowFrames;
        const long long n = (to < end ? to : end) - from;
        memcpy(out + (from - first) * channels,
               &window[static_cast<size_t>((from - windowFirst) * channels)],
               static_cast<size_t>(n) * frameBytes);
        from += n;
    }
    // Whatever did not decode (a damaged end) stays silent.
}

bool Track::fetch(long long frame) const {
    if (frame >= windowFirst && frame < windowFirst + windowFrames) {
        return true;
    }
    if (windowFrames == 0 || frame < windowFirst || frame > windowFirst + windowFrames + JUMP) {
        windowFirst = frame > BEHIND ? frame - BEHIND : 0;
        windowFrames = 0;
        if (!decoder->seek(windowFirst)) {
            return false;
        }
    }
    while (frame >= windowFirst + windowFrames) {
        if (windowFrames + BLOCK > CAPACITY) {
            const long long drop = windowFrames - KEEP;
            memmove(&window[0], &window[static_cast<size_t>(drop * channels)],
                    static_cast<size_t>(KEEP * channels) * sizeof(int16_t));
            windowFirst += drop;
            windowFrames = KEEP;
        }
        const long long got =
            decoder->read(&window[static_cast<size_t>(windowFrames * channels)], BLOCK);
        if (got <= 0) {
            return false;
        }
        windowFrames += got;
    }
    return true;
}
