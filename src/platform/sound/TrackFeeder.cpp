// The decoding thread: it wakes on a short period, not on a signal from the callback, which
// must not touch a lock or a condition to tell it.
#include "platform/sound/TrackFeeder.h"

#include <chrono>

#include "platform/sound/FrameRing.h"
#include "platform/sound/Track.h"

namespace {

// How long the thread sleeps while the ring is full: a fraction of what the ring holds ahead.
const std::chrono::milliseconds PERIOD(10);

} // namespace

TrackFeeder::TrackFeeder(bool threaded)
    : threaded(threaded), thread(), lock(), wake(), quitting(false), track(nullptr), ring(nullptr),
      block(new int16_t[BLOCK * 2]) {}

TrackFeeder::~TrackFeeder() {
    {
        std::lock_guard<std::mutex> held(lock);
        quitting = true;
    }
    wake.notify_one();
    if (thread.joinable()) {
        thread.join();
    }
    delete[] block;
}

void TrackFeeder::start(const Track* source, FrameRing* into, long long frame, long long primed) {
    std::unique_lock<std::mutex> held(lock);
    track = source;
    ring = into;
    const long long first = frame > BEHIND ? frame - BEHIND : 0;
    ring->reset(first, frame);
    while (ring->nextWritten() < frame + primed && feedBlock()) {
    }
    if (threaded && !thread.joinable()) {
        thread = std::thread(&TrackFeeder::run, this);
    }
    held.unlock();
    wake.notify_one();
}

void TrackFeeder::stop() {
    std::lock_guard<std::mutex> held(lock);
    track = nullptr;
    ring = nullptr;
}

void TrackFeeder::feed(long long ahead) {
    std::lock_guard<std::mutex> held(lock);
    while (ring && ring->nextWritten() - ring->nextTaken() < ahead && feedBlock()) {
    }
}

void TrackFeeder::run() {
    std::unique_lock<std::mutex> held(lock);
    while (!quitting) {
        // A block at a time, letting go of the lock between them so that a start or a stop
        // waits for one block at most.
        if (!feedBlock()) {
            wake.wait_for(held, PERIOD);
        } else {
            held.unlock();
            held.lock();
        }
    }
}

bool TrackFeeder::feedBlock() {
    if (!track || !ring) {
        return false;
    }
    const long long at = ring->nextWritten();
    const long long left = track->frames() - at;
    long long count = ring->space();
    count = count < BLOCK ? count : BLOCK;
    count = count < left ? count : left;
    if (count <= 0) {
        return false;
    }
    track->read(at, count, block);
    ring->write(block, count);
    return true;
}
