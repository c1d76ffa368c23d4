// The track an output is playing and the ring its frames come through; used by the audio callback.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/sound/FrameRing.h"
#include "platform/sound/Track.h"

class Playback {
  public:
    // Full volume: samples are copied unchanged.
    static const int FULL_VOLUME = 256;

    Playback() : current(nullptr), ring(nullptr), level(FULL_VOLUME), scratch() {}

    // Plays track's frames as they come through ring; null plays silence. Not safe against a
    // running callback: the device output calls it with the audio locked.
    void start(const Track* track, FrameRing* ring);
    // Volume 0 to 256; takes effect in the next block, from any thread.
    void setVolume(int volume) { level.store(volume, std::memory_order_relaxed); }
    int volume() const { return level.load(std::memory_order_relaxed); }
    const Track* track() const { return current; }

    // Copies the next frames from the ring into out as 16-bit frames of the given channel
    // count, at the volume. Where the ring has none yet, silence that does not count as played
    // (the track resumes after it); once the track has ended, silence that does. Returns the
    // frames that count. Allocates nothing, waits on nothing.
    int fill(int16_t* out, int frames, int channels);

  private:
    static const int SCRATCH_FRAMES = 1024;

    const Track* current;
    FrameRing* ring;
    std::atomic<int> level;
    int16_t scratch[SCRATCH_FRAMES * 2]; // the track's frames on their way to another volume
};
