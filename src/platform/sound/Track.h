// A sound as the layer plays it: interleaved signed 16-bit frames at one rate, either decoded
// whole into memory or streamed from its decoder through a window around where it is read.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

class TrackDecoder;

class Track {
  public:
    Track();
    ~Track();

    Track(const Track&) = delete;
    Track& operator=(const Track&) = delete;

    // Frames in the track: one sample per channel each.
    long long frames() const;
    // Frames [first, first + count) interleaved into out (count * channels samples), silence
    // outside the track. Safe from any thread: the audio callback, the spectrum and the tools
    // all read through here.
    void read(long long first, long long count, int16_t* out) const;

    // Makes this a streamed track of the given length that decoder (now owned) fills; the
    // rate and channels must be set.
    void stream(TrackDecoder* decoder, long long frames);
    bool streamed() const { return decoder != nullptr; }

    // A header's length (and rate) is trusted for reserving memory up to this many frames only,
    // twenty minutes at 48 kHz: a damaged or forged header may claim days, and a longer track
    // still grows as it decodes.
    static constexpr long long MOST_FRAMES_RESERVED = 1200LL * 48000;

    std::vector<int16_t> samples; // a whole track's frames, interleaved; empty when streamed
    int rate;                     // frames per second
    int channels;                 // 1 or 2

  private:
    // Decodes until frame lies in the window; false if it does not decode.
    bool fetch(long long frame) const;

    TrackDecoder* decoder;
    long long length; // frames of a streamed track
    // A streamed track's window and its decoder are touched only inside read, with this lock
    // held. The audio callback never takes it: the device's feeder reads the track into a ring
    // under its own lock (and SDL's audio lock when a play or a seek primes the ring); nothing
    // takes either of those while holding this one.
    mutable std::mutex lock;
    mutable std::vector<int16_t> window; // frames [windowFirst, windowFirst + windowFrames)
    mutable long long windowFirst;
    mutable long long windowFrames;
};
