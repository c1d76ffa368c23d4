// The output used when no audio device opens: nothing is heard, but the position advances
// with the steady clock so that everything timed by the music still moves.
#pragma once

#include <chrono>

#include "platform/sound/Output.h"

class SilentOutput : public Output {
  public:
    SilentOutput() : playing(false), held(false), rate(0), offset(0), started() {}

    soundlayer::OutputKind kind() const override { return soundlayer::OUTPUT_SILENT; }
    bool play(const Track* track, int volume) override;
    void stop() override { playing = false; }
    void seek(long long frame, bool paused) override;
    long long audibleFrame() override;

  private:
    bool playing;
    bool held;        // paused at offset
    int rate;         // frames per second of the playing track
    long long offset; // the frame heard at started
    std::chrono::steady_clock::time_point started;
};
