// Sparkle: short decaying sine partials, each exactly on the centre of the spectrum bin that one
// of the scenes' bars reads, so a glitter of high pings makes the whole row of bars dance.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "trackgen/Dsp.h"
#include "trackgen/Note.h"
#include "trackgen/StereoBuffer.h"

class Sparkle {
  public:
    // Bars the row has; bar i reads the 1024-point FFT's bin 10 i + 1.
    static const int BARS = 50;
    static const int FFT_SIZE = 1024;

    // Centre of bar `bar`'s bin in Hz: (10 bar + 1) x 44100 / 1024.
    static double barHz(int bar);
    // pitch = bar index, length = decay time constant in seconds (the ping holds its level for
    // half of that first, so a bar stays up long enough to be seen), velocity = peak amplitude of
    // the mono sum (the partials sit in the centre). Hits on bars outside the row are ignored.
    void render(const NoteList& hits, StereoBuffer& out) const;

  private:
    // One partial at amplitude 1, mono. The bin's frequency is a whole number of cycles per
    // 1024 samples, so the phase is kept as an exact index into one period of a sine table.
    std::vector<float> synthesise(int bar, float decay, const std::vector<float>& table) const;
};
