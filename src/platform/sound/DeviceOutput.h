// The audio device through SDL 1.2's callback. A feeder decodes the track ahead into a ring;
// the callback copies from the ring and publishes how many frames it has handed over; its
// position is what is being heard now, and the ring keeps what was handed for the spectrum.
#pragma once

#include <SDL.h>

#include <atomic>

#include "platform/sound/FrameRing.h"
#include "platform/sound/Output.h"
#include "platform/sound/Playback.h"
#include "platform/sound/TrackFeeder.h"

class DeviceOutput : public Output {
  public:
    // Short buffers: about 23 ms, not the device's own choice.
    explicit DeviceOutput(bool shortBuffers = false);
    ~DeviceOutput() override;

    DeviceOutput(const DeviceOutput&) = delete;
    DeviceOutput& operator=(const DeviceOutput&) = delete;

    // Opens the device paused, 16-bit at rate and channels; false (with SDL's reason in
    // SDL_GetError) if it cannot.
    bool open(int rate, int channels);

    soundlayer::OutputKind kind() const override { return soundlayer::OUTPUT_DEVICE; }
    // Reopens the device at the track's own rate and channels when they differ.
    bool play(const Track* track, int volume) override;
    void stop() override;
    void setVolume(int volume) override { playback.setVolume(volume); }
    // Held, the callback hands the device silence and the track does not move on.
    void seek(long long frame, bool paused) override;
    long long audibleFrame() override;
    bool heardFrames(long long first, long long count, int16_t* out) override;
    // The latest calls of the callback, oldest first; how many were copied.
    int callbackTimes(soundlayer::CallbackTime* out, int most) const;

  private:
    static const int TIMES_KEPT = 1024;
    static void callback(void* user, Uint8* stream, int len);
    void close();
    // Callback side of the sequence lock over (handed, stamp).
    void publish(long long frames, long long nanoseconds);

    FrameRing* ring; // the playing track's frames; replaced by play, with the audio locked
    TrackFeeder feeder;
    Playback playback;
    int rate;     // frames per second of the open device
    int channels; // channels of the open device
    bool shortBuffers;
    int bufferFrames; // frames of one device buffer
    bool opened;
    bool playing;                   // changed with the audio locked
    bool held;                      // paused by a seek; changed with the audio locked
    long long heldFrame;            // the position while held
    std::atomic<unsigned> sequence; // odd while the callback is writing
    std::atomic<long long> handed;  // frames handed to the device since play
    std::atomic<long long> stamp;   // steady clock at the last hand-over, nanoseconds
    long long lastAudible;          // main thread only: keeps the position from going back
    long long ahead;                // frames the device holds ahead of the buffer just handed
    std::atomic<long long> beganAt[TIMES_KEPT]; // the callback's calls, a ring of the latest
    std::atomic<long long> endedAt[TIMES_KEPT];
    std::atomic<unsigned> calls;
};
