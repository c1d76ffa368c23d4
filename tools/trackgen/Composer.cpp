// The composition of the track, in A minor at 120 beats a minute.
#include "trackgen/Composer.h"

#include <cmath>

#include "trackgen/Rng.h"

namespace {

// Odd sixteenths come this late (seconds): the shuffle of the hats and the arpeggio.
const double SWING = 0.014;

// Melody steps: offset in beats within a four-bar phrase, length in beats, MIDI note.
struct MelodyNote {
    float beat;
    float length;
    int note;
};

const MelodyNote PHRASE_A[] = {
    {0.0f, 1.5f, 76},  {1.5f, 0.5f, 74},  {2.0f, 1.0f, 72},  {3.0f, 1.0f, 76},
    {4.0f, 1.5f, 77},  {5.5f, 0.5f, 76},  {6.0f, 1.0f, 72},  {7.0f, 1.0f, 69},
    {8.0f, 1.5f, 79},  {9.5f, 0.5f, 76},  {10.0f, 1.0f, 72}, {11.0f, 0.5f, 76},
    {11.5f, 0.5f, 79}, {12.0f, 2.0f, 74}, {14.0f, 1.0f, 71}, {15.0f, 1.0f, 74},
};
const MelodyNote PHRASE_B[] = {
    {0.0f, 1.0f, 81},  {1.0f, 0.5f, 79},  {1.5f, 0.5f, 76},  {2.0f, 1.0f, 72},  {3.0f, 1.0f, 76},
    {4.0f, 1.0f, 77},  {5.0f, 1.0f, 81},  {6.0f, 1.0f, 84},  {7.0f, 1.0f, 81},  {8.0f, 1.5f, 79},
    {9.5f, 0.5f, 76},  {10.0f, 1.0f, 79}, {11.0f, 1.0f, 84}, {12.0f, 1.0f, 83}, {13.0f, 0.5f, 81},
    {13.5f, 0.5f, 79}, {14.0f, 2.0f, 74},
};

// The sparkle plays on the bars the rest of the music leaves low or flat: 5 (2.2 kHz) to 49
// (21 kHz).
const int SPARKLE_LOW = 5;
const int SPARKLE_HIGH = 49;
const int SPARKLE_SPAN = SPARKLE_HIGH - SPARKLE_LOW + 1;
// Peak level (mono) of a ping below 10 kHz and from 14 kHz up, and its decay in seconds.
const float SPARKLE_MID = 0.07f;
const float SPARKLE_HIGH_LEVEL = 0.24f;
const float SPARKLE_DECAY = 0.12f;
// The rest of the mix steps back this far while the sparkle plays, so that the limiter does not
// have to make room for it beat by beat.
const float SPARKLE_ROOM = 0.86f;

// A ping on `bar` at `t`; `accent` 0..1 is its weight in the groove, `life` scales its length
// (short for the fast sweeps). The pings above 14 kHz, which hardly anyone hears, carry the most
// level; 4-10 kHz, where the ear is keenest, the least, and there accents barely change it.
Note sparklePing(int bar, double t, float accent, float life) {
    const float hz = static_cast<float>((10 * bar + 1) * 44100.0 / 1024.0);
    float level = SPARKLE_MID;
    float weight = 0.85f + 0.15f * accent;
    if (hz >= 14000.0f) {
        level = SPARKLE_HIGH_LEVEL * (1.0f + 0.25f * (hz - 14000.0f) / 7200.0f);
        weight = 0.7f + 0.3f * accent;
    } else if (hz >= 10000.0f) {
        level = 0.5f * (SPARKLE_MID + SPARKLE_HIGH_LEVEL);
        weight = 0.8f + 0.2f * accent;
    }
    return {t, SPARKLE_DECAY * life, static_cast<float>(bar), level * weight};
}

} // namespace

// Chords: bass root, pad voicing, arpeggio tones.
static const Composer::Chord AM = {33, {57, 60, 64}, {93, 96, 100}};
static const Composer::Chord FM = {29, {53, 57, 60}, {89, 93, 96}};
static const Composer::Chord CM = {36, {55, 60, 64}, {91, 96, 100}};
static const Composer::Chord GM = {31, {55, 59, 62}, {91, 95, 98}};
static const Composer::Chord EM = {28, {55, 59, 64}, {88, 91, 95}};
static const Composer::Chord E7 = {28, {56, 59, 64}, {88, 92, 95}};
static const Composer::Chord* const MAIN_LOOP[4] = {&AM, &FM, &CM, &GM};
static const Composer::Chord* const BREAK_LOOP[4] = {&FM, &GM, &EM, &AM};
static const Composer::Chord* const DRIVE_LOOP[4] = {&AM, &GM, &FM, &E7};

Composer::Arrangement Composer::arrangement(int index) const {
    static const Arrangement TABLE[SECTION_COUNT] = {
        // loop       kick   back   clap   hats bass pad    arp   lead   bell  chime        sparkle
        {MAIN_LOOP, true, false, false, 1, 2, 0.45f, true, false, true, 4, 0.8f, false}, // opening
        {MAIN_LOOP, true, true, true, 2, 2, 0.55f, true, true, false, 4, 0.35f, true},   // groove
        {BREAK_LOOP, false, false, false, 1, 1, 0.9f, true, true, true, 2, 0.35f,
         false},                                                                        // breakdown
        {MAIN_LOOP, true, true, false, 2, 3, 0.7f, true, true, false, 4, 0.35f, false}, // drop
        {MAIN_LOOP, true, true, true, 2, 2, 0.8f, true, true, false, 4, 0.35f, true},   // bright
        {DRIVE_LOOP, true, true, true, 2, 3, 0.6f, true, true, false, 4, 0.35f, false}, // drive
        {MAIN_LOOP, false, false, false, 1, 1, 0.85f, true, true, true, 2, 0.35f, false}, // mellow
        {MAIN_LOOP, true, false, false, 1, 1, 0.6f, true, false, true, 2, 0.35f, false},  // outro
    };
    return TABLE[index];
}

Score Composer::compose() const {
    Score score;
    for (int i = 0; i < SECTION_COUNT; ++i) {
        composeSection(i, arrangement(i), score);
    }
    return score;
}

void Composer::composeSection(int index, const Arrangement& a, Score& s) const {
    const double start = SECTION_STARTS[index];
    const double end = SECTION_STARTS[index + 1];
    const int bars = static_cast<int>(std::ceil((end - start) / BAR - 1e-9));
    for (int b = 0; b < bars; ++b) {
        const double bar = start + b * BAR;
        const double barEnd = bar + BAR < end ? bar + BAR : end;
        const Chord& chord = *a.loop[b % 4];
        // The opening section builds up: hats from bar 2, beat and bass from bar 8.
        const bool opening = index == 0;
        const bool outro = index == SECTION_COUNT - 1;
        Arrangement now = a;
        if (opening) {
            now.hats = b >= 2 ? 1 : 0;
            now.kick = b >= 8;
            now.bass = b >= 8 ? 2 : 0;
        }
        // The quiet sections open the pads' filter as they go, building toward the next beat.
        if (index == 0 || index == 2 || index == 6) {
            now.padOpen = a.padOpen * (0.6f + 0.4f * static_cast<float>(b) / (bars - 1));
        }
        // The outro keeps the full hats while the beat lasts; then the beat drops out and eighth
        // hats carry on into the fade.
        if (outro) {
            now.kick = b < 4;
            now.hats = b < 4 ? 2 : 1;
        }
        addDrums(now, bar, end, b, bars, s);
        addChimes(now, chord, bar, barEnd, s);
        if (now.bass) {
            addBass(now, chord, bar, end, s);
        }
        for (int k = 0; k < 3; ++k) {
            s.pad.push_back(
                {bar, static_cast<float>(barEnd - bar - 0.02), float(chord.pad[k]), now.padOpen});
        }
        if (now.arp) {
            float level = opening ? 0.5f + 0.04f * b : (a.kick ? 0.85f : 0.7f);
            addArp(chord, bar, barEnd, level, s);
        }
        if (now.bell && b % 2 == 0) {
            s.bell.push_back({bar, 1.2f, float(chord.arp[0] - 12), 0.32f});
        }
        // The lead waits for the second half of the first groove and of the driving part.
        const bool leadWaits = (index == 1 && b < 16) || (index == 5 && b < 8);
        if (now.lead && b % 4 == 0 && !leadWaits) {
            addMelody((b / 4) % 2, bar, end, s);
        }
        // A crash opens every section that starts with the beat, and every eighth bar in it.
        if (now.kick && b % 8 == 0 && (index > 0 || b > 0)) {
            s.crash.push_back({bar, 0.6f, 0.0f, 0.5f});
        }
        // A noise swell over the last two bars before the beat comes back.
        if (b == bars - 2 && (index == 0 || index == 2 || index == 6)) {
            s.riser.push_back({bar, static_cast<float>(end - bar), 0.0f, 0.35f});
        }
        // A snare roll leads into the next section where the drums carry on.
        if (b == bars - 1 && index + 1 < SECTION_COUNT - 1 &&
            (index == 0 || index == 2 || index == 5)) {
            addRoll(bar, barEnd, s);
        }
        if (a.sparkle) {
            addSparkle(b % 4, bar, barEnd, s);
        }
    }
    if (a.sparkle) {
        traceLead(start, end, s);
        s.room.push_back({start, static_cast<float>(end - start), 0.0f, SPARKLE_ROOM});
    }
}

void Composer::addDrums(const Arrangement& a, double bar, double end, int barIndex, int bars,
                        Score& s) const {
    // Hats vary a little in level, the same way in every build.
    Rng rng(0x5EEDu + static_cast<uint32_t>(bar * 8.0));
    for (int step = 0; step < 16; ++step) {
        const double t = bar + step * STEP;
        // A section that ends in mid-bar stops its pattern there.
        if (t >= end - 1e-9) {
            break;
        }
        const double swung = step % 2 ? t + SWING : t;
        const float human = 0.88f + 0.24f * rng.unit();
        const bool lastBar = barIndex == bars - 1;
        if (a.kick && step % 4 == 0) {
            s.kick.push_back({t, 0.3f, 0.0f, 0.95f});
        }
        // A pickup kick before the next bar every fourth bar.
        if (a.kick && step == 14 && barIndex % 4 == 3 && !lastBar) {
            s.kick.push_back({t, 0.3f, 0.0f, 0.6f});
        }
        if (a.backbeat && (step == 4 || step == 12)) {
            s.snare.push_back({t, 0.3f, a.clap ? 1.0f : 0.0f, 0.8f});
            if (a.clap) {
                s.snare.push_back({t, 0.3f, 0.0f, 0.35f});
            }
        }
        if (a.backbeat && !a.clap && (step == 7 || step == 15) && barIndex % 2 == 1) {
            s.snare.push_back({swung, 0.2f, 0.0f, 0.18f});
        }
        if (a.hats == 1 && step % 2 == 0) {
            float vel = step % 4 == 2 ? 0.55f : 0.3f;
            s.hats.push_back({t, 0.035f, 0.25f, vel * human});
        }
        if (a.hats == 2) {
            if (step % 4 == 2) {
                s.hats.push_back({t, 0.16f, -0.2f, 0.5f * human});
            } else {
                float vel = step % 2 == 0 ? 0.45f : 0.28f;
                s.hats.push_back({swung, 0.03f, 0.3f, vel * human});
            }
        }
    }
}

void Composer::addBass(const Arrangement& a, const Chord& c, double bar, double end,
                       Score& s) const {
    const float root = static_cast<float>(c.root);
    if (a.bass == 1) {
        s.bass.push_back({bar, static_cast<float>(BAR * 0.5 - 0.05), root, 0.55f});
        if (bar + BAR * 0.5 < end - 1e-9) {
            s.bass.push_back({bar + BAR * 0.5, static_cast<float>(BAR * 0.5 - 0.05), root, 0.45f});
        }
        return;
    }
    for (int step = 0; step < 16; ++step) {
        const double t = bar + step * STEP;
        if (t >= end - 1e-9) {
            break;
        }
        if (a.bass == 2 && step % 4 == 2) {
            s.bass.push_back({t, 0.2f, root + (step == 14 ? 12.0f : 0.0f), 0.9f});
        }
        // Rolling: every sixteenth but the downbeats, which belong to the kick.
        if (a.bass == 3 && step % 4 != 0) {
            s.bass.push_back({t, 0.1f, root + (step % 4 == 2 ? 12.0f : 0.0f), 0.8f});
        }
    }
}

void Composer::addArp(const Chord& c, double bar, double end, float level, Score& s) const {
    // Up and down through the chord, with the root an octave down now and then.
    static const int ORDER[16] = {0, 1, 2, 1, 0, 1, 2, 3, 0, 1, 2, 1, 0, 2, 1, 3};
    for (int step = 0; step < 16; ++step) {
        const double t = bar + step * STEP;
        if (t >= end - 1e-9) {
            break;
        }
        const int k = ORDER[step];
        const int note = k == 3 ? c.arp[0] - 12 : c.arp[k];
        const float accent = step % 4 == 0 ? 1.0f : 0.7f;
        const double swung = step % 2 ? t + SWING : t;
        s.pluck.push_back({swung, 0.09f, static_cast<float>(note), level * accent * 0.45f});
    }
}

void Composer::addMelody(int phrase, double start, double end, Score& s) const {
    const MelodyNote* notes = phrase == 0 ? PHRASE_A : PHRASE_B;
    const int count = phrase == 0 ? int(sizeof(PHRASE_A) / sizeof(PHRASE_A[0]))
                                  : int(sizeof(PHRASE_B) / sizeof(PHRASE_B[0]));
    for (int i = 0; i < count; ++i) {
        const double t = start + notes[i].beat * BEAT;
        if (t >= end - 1e-9) {
            break;
        }
        double len = notes[i].length * BEAT * 0.92;
        if (t + len > end) {
            len = end - t;
        }
        s.lead.push_back({t, static_cast<float>(len), static_cast<float>(notes[i].note), 0.8f});
    }
}

void Composer::addChimes(const Arrangement& a, const Chord& c, double bar, double end,
                         Score& s) const {
    if (a.chime == 0) {
        return;
    }
    const int every = 4 / a.chime;
    for (int beat = 0; beat < 4; beat += every) {
        const double t = bar + beat * BEAT;
        if (t >= end - 1e-9) {
            break;
        }
        const float accent = beat == 0 ? 1.0f : 0.8f;
        // Tuned to the chord: its partials are harmonics of the root an octave above the bass.
        s.chime.push_back({t, 0.11f, static_cast<float>(c.root + 12), a.chimeLevel * accent});
    }
}

void Composer::addSparkle(int cycle, double bar, double end, Score& s) const {
    Rng rng(0x51A7u + static_cast<uint32_t>(bar * 8.0));
    for (int step = 0; step < 16; ++step) {
        const double t = bar + step * STEP;
        if (t >= end - 1e-9) {
            break;
        }
        const double swung = step % 2 ? t + SWING : t;
        const float accent = step % 4 == 0 ? 1.0f : (step % 2 == 0 ? 0.5f : 0.0f);
        // Bars of the row this step covers when a sweep crosses it in one bar.
        const int from = step * SPARKLE_SPAN / 16;
        const int to = (step + 1) * SPARKLE_SPAN / 16;
        if (cycle == 0 || cycle == 2) {
            // A wave across the row: up in the first bar of the phrase, down in the third.
            for (int k = from; k < to; ++k) {
                const int b = cycle == 0 ? SPARKLE_LOW + k : SPARKLE_HIGH - k;
                s.sparkle.push_back(sparklePing(b, swung, accent, 0.8f));
            }
        } else if (cycle == 1) {
            // Chords on the eighths: one ping in each quarter of the row.
            if (step % 2 == 0) {
                for (int q = 0; q < 4; ++q) {
                    const int b = SPARKLE_LOW + q * SPARKLE_SPAN / 4 +
                                  static_cast<int>(rng.unit() * (SPARKLE_SPAN / 4));
                    s.sparkle.push_back(sparklePing(b, t, accent, 1.0f));
                }
            }
        } else {
            // Scattered glitter, growing into a rising run over the last beat.
            const int count = step < 12 ? 2 : 3;
            for (int n = 0; n < count; ++n) {
                const int b = step < 12 ? SPARKLE_LOW + static_cast<int>(rng.unit() * SPARKLE_SPAN)
                                        : SPARKLE_LOW + (step - 12) * 11 + n * 5;
                s.sparkle.push_back(sparklePing(b, swung, accent, 0.7f));
            }
        }
    }
}

void Composer::traceLead(double start, double end, Score& s) const {
    // Each lead note lights the bar its pitch maps to, two bars a semitone above A4, with a
    // quieter echo an octave of the row higher: the melody drawn on the row as it sounds.
    const size_t count = s.lead.size();
    for (size_t i = 0; i < count; ++i) {
        const Note& n = s.lead[i];
        if (n.start < start - 1e-9 || n.start >= end - 1e-9) {
            continue;
        }
        const int b = 14 + static_cast<int>(n.pitch - 69.0f) * 2;
        if (b >= SPARKLE_LOW && b <= SPARKLE_HIGH) {
            s.sparkle.push_back(sparklePing(b, n.start, 1.0f, 1.5f));
        }
        if (b + 17 <= SPARKLE_HIGH) {
            s.sparkle.push_back(sparklePing(b + 17, n.start + BEAT * 0.5, 0.3f, 1.0f));
        }
    }
}

void Composer::addRoll(double start, double end, Score& s) const {
    // Sixteenths rising in level over the bar.
    for (int step = 0; start + step * STEP < end - 1e-9; ++step) {
        float vel = 0.2f + 0.6f * static_cast<float>(step) / 16.0f;
        s.snare.push_back({start + step * STEP, 0.1f, 0.0f, vel});
    }
}
