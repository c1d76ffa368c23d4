// The composition: chord loops, drum patterns and melodies laid out over the eight sections.
#pragma once

#include "trackgen/Score.h"

class Composer {
  public:
    Score compose() const;

    struct Chord {
        int root;   // bass note
        int pad[3]; // pad voicing around the fourth octave
        int arp[3]; // chord tones in the sixth octave
    };
    // What plays in one section.
    struct Arrangement {
        const Chord* const* loop; // four chords, one a bar
        bool kick;
        bool backbeat; // snare or clap on beats two and four
        bool clap;     // clap instead of snare
        int hats;      // 0 none, 1 eighths, 2 sixteenths with open off-beats
        int bass;      // 0 none, 1 held roots, 2 off-beat eighths, 3 rolling sixteenths
        float padOpen; // pad filter opening 0..1
        bool arp;
        bool lead;
        bool bell;
        int chime; // 0 none, 2 on beats one and three, 4 on every beat
        float chimeLevel;
        bool sparkle; // pings on the bars' bins, for the scenes that show the spectrum row
    };

  private:
    void composeSection(int index, const Arrangement& a, Score& score) const;
    // Both stop at `end`, the end of the section.
    void addDrums(const Arrangement& a, double bar, double end, int barIndex, int bars,
                  Score& s) const;
    void addBass(const Arrangement& a, const Chord& c, double bar, double end, Score& s) const;
    void addArp(const Chord& c, double bar, double end, float level, Score& s) const;
    void addMelody(int phrase, double start, double end, Score& s) const;
    void addRoll(double start, double end, Score& s) const;
    // One bar of the sparkle's pattern; `cycle` is the bar's place in its four-bar phrase.
    void addSparkle(int cycle, double bar, double end, Score& s) const;
    // The sparkle traces the lead's notes that start in [start, end) on the row.
    void traceLead(double start, double end, Score& s) const;
    void addChimes(const Arrangement& a, const Chord& c, double bar, double end, Score& s) const;
    Arrangement arrangement(int index) const;
};
