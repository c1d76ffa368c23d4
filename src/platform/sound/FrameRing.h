// Decoded frames on their way from the decoding thread to the audio callback, with the frames
// the callback has taken kept behind it for the spectrum: one writer, one reader, and readers
// of what was taken that never hold up either.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

class FrameRing {
  public:
    // Room for capacity frames of the given channels, of which up to kept frames already taken
    // stay readable by copyTaken.
    FrameRing(int channels, long long capacity, long long kept);
    // The capacity for a device taking bufferFrames at a time: a few buffers ahead of it and as
    // many behind (kept: half), more than the device and the spectrum's window lag behind it.
    static long long capacityFor(int bufferFrames) {
        const long long least = 1 << 17;
        return 8LL * bufferFrames > least ? 8LL * bufferFrames : least;
    }

    FrameRing(const FrameRing&) = delete;
    FrameRing& operator=(const FrameRing&) = delete;

    int channels() const { return channelCount; }

    // Empties the ring: the next frame written is written, the next taken is taken (frames
    // written before it are kept as if already taken). Neither side may run meanwhile.
    void reset(long long written, long long taken);

    // Writer: frames that may be written now without overwriting what is kept or waits.
    long long space() const;
    long long nextWritten() const { return writeAt.load(std::memory_order_relaxed); }
    // Appends count frames (at most space()).
    void write(const int16_t* frames, long long count);

    // Reader: copies up to count of the next frames into out; how many it copied.
    long long take(int16_t* out, long long count);
    long long nextTaken() const { return takeAt.load(std::memory_order_acquire); }

    // Anyone: frames [first, first + count) if all were taken and are still kept; frames
    // before 0 read as silence. False, with out undefined, if they are not there.
    bool copyTaken(long long first, long long count, int16_t* out) const;

  private:
    // Copies count frames from frame on out of the storage.
    void copyOut(long long frame, long long count, int16_t* out) const;

    int channelCount;
    long long capacity;
    long long kept;
    std::vector<int16_t> samples;
    long long origin;               // the first frame written since the reset
    std::atomic<long long> writeAt; // the next frame to write
    std::atomic<long long> takeAt;  // the next frame to take
};
