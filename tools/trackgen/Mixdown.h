// Renders the score: instruments into buses, side-chain ducking, echo and reverb, limiter, fade.
#pragma once

#include "trackgen/Score.h"
#include "trackgen/StereoBuffer.h"

class Mixdown {
  public:
    // The finished stereo track, peaks at most `ceiling` (linear).
    StereoBuffer render(const Score& score, float ceiling) const;

  private:
    // A group's dry mix and its sends to the echo and the room.
    struct Buses {
        Buses(size_t frames, bool withEcho)
            : master(frames), delaySend(withEcho ? frames : 0), reverbSend(frames) {}
        // Adds `bus` to the dry mix and the sends, each at its own gain.
        void route(const StereoBuffer& bus, float dry, float echo, float room) {
            master.mix(bus, dry);
            if (echo > 0.0f) {
                delaySend.mix(bus, echo);
            }
            if (room > 0.0f) {
                reverbSend.mix(bus, room);
            }
        }
        StereoBuffer master;
        StereoBuffer delaySend;
        StereoBuffer reverbSend;
    };

    // Drums, bass and pads: everything that dips under the kick, and nothing with echoes.
    void renderRhythm(const Score& score, const std::vector<float>& pump, Buses& out) const;
    // Lead, arpeggio, bell and chime: everything sent to the echo.
    void renderHarmony(const Score& score, Buses& out) const;
    std::vector<float> duckCurve(const NoteList& kicks, size_t frames) const;
    // Turns the finished mix down by each stretch's gain, with short ramps at its ends.
    void makeRoom(const NoteList& stretches, StereoBuffer& master) const;
    void applyFade(StereoBuffer& master) const;
};
