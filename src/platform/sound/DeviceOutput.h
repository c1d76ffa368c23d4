// The audio device through SDL 1.2's callback. The callback copies the track's frames (a
// streamed track decodes them there, a block at a time) and publishes how many it has handed
// over; its position is what is being heard now.
#pragma once

#include <SDL.h>

#include <atomic>

#include "platform/sound/Output.h"
#include "platform/sound/Playback.h"

class DeviceOutput : public Output {
  public:
    DeviceOutput();
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

  private:
    static void callback(void* user, Uint8* stream, int len);
    void close();
    // Callback side of the sequence lock over (handed, stamp).
    void publish(long long frames, long long nanoseconds);

    Playback playback;
    int rate;         // frames per second of the open device
    int channels;     // channels of the open device
    int bufferFrames; // frames of one device buffer
    bool opened;
    bool playing;                   // changed with the audio locked
    bool held;                      // paused by a seek; changed with the audio locked
    long long heldFrame;            // the position while held
    std::atomic<unsigned> sequence; // odd while the callback is writing
    std::atomic<long long> handed;  // frames handed to the device since play
    std::atomic<long long> stamp;   // steady clock at the last hand-over, nanoseconds
    long long lastAudible;          // main thread only: keeps the position from going back
};
