// The output whose position the caller sets (tests, the capture tool): fully deterministic.
#pragma once

#include "platform/sound/Output.h"

class ManualOutput : public Output {
  public:
    ManualOutput() : playing(false), position(0) {}

    soundlayer::OutputKind kind() const override { return soundlayer::OUTPUT_MANUAL; }
    bool play(const Track* track, int) override {
        playing = track != nullptr;
        return true;
    }
    void stop() override { playing = false; }
    // The position moves only when set, paused or not.
    void seek(long long frame, bool) override { position = frame; }
    // Frames of the playing track heard so far; the caller may move it either way.
    void setPosition(long long frame) { position = frame; }
    long long audibleFrame() override { return playing ? position : -1; }

  private:
    bool playing;
    long long position;
};
