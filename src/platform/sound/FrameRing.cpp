// A single-writer, single-reader ring of frames addressed by their frame in the track.
#include "platform/sound/FrameRing.h"

#include <cstddef>
#include <cstring>

FrameRing::FrameRing(int channels, long long capacity, long long kept)
    : channelCount(channels), capacity(capacity), kept(kept < capacity ? kept : capacity / 2),
      samples(static_cast<size_t>(capacity * channels), 0), origin(0), writeAt(0), takeAt(0) {}

void FrameRing::reset(long long written, long long taken) {
    origin = written;
    writeAt.store(written, std::memory_order_relaxed);
    takeAt.store(taken, std::memory_order_relaxed);
}

long long FrameRing::space() const {
    const long long taken = takeAt.load(std::memory_order_acquire);
    const long long oldest = taken - kept > origin ? taken - kept : origin;
    return capacity - (writeAt.load(std::memory_order_relaxed) - oldest);
}

void FrameRing::write(const int16_t* frames, long long count) {
    const long long at = writeAt.load(std::memory_order_relaxed);
    for (long long done = 0; done < count;) {
        const long long slot = (at + done) % capacity;
        const long long n = count - done < capacity - slot ? count - done : capacity - slot;
        memcpy(&samples[static_cast<size_t>(slot * channelCount)], frames + done * channelCount,
               static_cast<size_t>(n * channelCount) * sizeof(int16_t));
        done += n;
    }
    writeAt.store(at + count, std::memory_order_release);
}

long long FrameRing::take(int16_t* out, long long count) {
    const long long at = takeAt.load(std::memory_order_relaxed);
    const long long ready = writeAt.load(std::memory_order_acquire) - at;
    const long long n = count < ready ? count : ready;
    if (n > 0) {
        copyOut(at, n, out);
        takeAt.store(at + n, std::memory_order_release);
    }
    return n > 0 ? n : 0;
}

bool FrameRing::copyTaken(long long first, long long count, int16_t* out) const {
    const long long end = first + count;
    long long from = first;
    if (from < 0) {
        // Before the track: silence, whatever the ring holds.
        const long long silent = (end < 0 ? end : 0) - from;
        memset(out, 0, static_cast<size_t>(silent * channelCount) * sizeof(int16_t));
        from += silent;
    }
    if (from >= end) {
        return true;
    }
    const long long taken = takeAt.load(std::memory_order_acquire);
    if (end > taken || from < origin || from < taken - kept) {
        return false;
    }
    copyOut(from, end - from, out + (from - first) * channelCount);
    // The writer may have moved on past what was kept while this copied: then the copy may
    // hold newer frames, and is not used.
    std::atomic_thread_fence(std::memory_order_acquire);
    return from >= takeAt.load(std::memory_order_relaxed) - kept;
}

void FrameRing::copyOut(long long frame, long long count, int16_t* out) const {
    for (long long done = 0; done < count;) {
        const long long slot = (frame + done) % capacity;
        const long long n = count - done < capacity - slot ? count - done : capacity - slot;
        memcpy(out + done * channelCount, &samples[static_cast<size_t>(slot * channelCount)],
               static_cast<size_t>(n * channelCount) * sizeof(int16_t));
        done += n;
    }
}
