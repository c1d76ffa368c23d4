// Renders the score: instruments into buses, side-chain ducking, echo and reverb, limiter, fade.
#pragma once

#include "Score.h"
#include "StereoBuffer.h"

class Mixdown {
  public:
    // The finished stereo track, peaks at most `ceiling` (linear).
    StereoBuffer render(const Score& score, float ceiling) const;

  private:
    std::vector<float> duckCurve(const NoteList& kicks, size_t frames) const;
    void applyFade(StereoBuffer& master) const;
};
