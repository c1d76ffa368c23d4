// The track an output is playing and how far it has been copied out; used by the audio callback.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/sound/Track.h"

class Playback {
  public:
    // Full volume: samples are copied unchanged.
    static const int FULL_VOLUME = 256;

    Playback() : current(nullptr), cursor(0), level(FULL_VOLUME), scratch() {}

    // Plays track from its first frame; null plays silence. Not safe against a running
    // callback: the device output calls it with the audio locked.
    void start(const Track* track);
    // The next frame copied is frame of the track (silence before its start); locked as start.
    void seek(long long frame) { cursor = frame > 0 ? frame : 0; }
    // Volume 0 to 256; takes effect in the next block, from any thread.
    void setVolume(int volume) { level.store(volume, std::memory_order_relaxed); }
    int volume() const { return level.load(std::memory_order_relaxed); }
    const Track* track() const { return current; }

    // Copies the next frames into out as 16-bit frames of the given channel count, at the
    // volume, with silence once the track has ended. Allocates nothing; a streamed track
    // decodes here what it has not decoded yet, under its own lock.
    void fill(int16_t* out, int frames, int channels);

  private:
    static const int SCRATCH_FRAMES = 1024;

    const Track* current;
    long long cursor; // next frame of current to copy
    std::atomic<int> level;
    int16_t scratch[SCRATCH_FRAMES * 2]; // the track's frames on their way to another volume
};
