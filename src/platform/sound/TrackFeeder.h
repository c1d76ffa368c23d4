// Decodes the playing track ahead into a frame ring, on a thread of its own, so that the audio
// callback only copies: it never decodes and never waits on a lock another thread holds.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

class FrameRing;
class Track;

class TrackFeeder {
  public:
    // Frames decoded per round.
    static const long long BLOCK = 4096;
    // Frames before a start that are decoded into the ring as already heard: the spectrum of
    // the first frames played from there reads them.
    static const long long BEHIND = 1024;

    // With threaded false nothing runs by itself and the owner calls feed (a page, which has
    // no threads of its own).
    explicit TrackFeeder(bool threaded);
    // Ends the thread.
    ~TrackFeeder();

    TrackFeeder(const TrackFeeder&) = delete;
    TrackFeeder& operator=(const TrackFeeder&) = delete;

    // Feeds ring with track's frames from frame on, the first primed of them decoded before
    // this returns; the ring is reset. Nothing may take from the ring meanwhile.
    void start(const Track* track, FrameRing* ring, long long frame, long long primed);
    // Feeds nothing more until the next start.
    void stop();
    // Decodes into the ring until ahead frames wait in it beyond the next to be taken, it is
    // full, or the track has no frames left.
    void feed(long long ahead);

  private:
    void run();
    // One block into the ring, with lock held; false when there is no room or nothing left.
    bool feedBlock();

    bool threaded;
    std::thread thread;
    std::mutex lock; // held while the ring is written or the source changes
    std::condition_variable wake;
    bool quitting;
    const Track* track;
    FrameRing* ring;
    int16_t* block; // one block of frames on its way into the ring, stereo at most
};
