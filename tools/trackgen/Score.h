// Everything the composer decides: the sections and the notes of every instrument.
#pragma once

#include <array>

#include "main/Schedule.h"
#include "trackgen/Note.h"

// One section for each slot of the demo's schedule, so the music changes with the scenes.
const int SECTION_COUNT = Schedule::SLOT_COUNT;

constexpr std::array<double, SECTION_COUNT + 1> sectionStarts() {
    std::array<double, SECTION_COUNT + 1> starts{};
    for (int i = 0; i < SECTION_COUNT; ++i) {
        starts[i] = Schedule::slots[i].start;
    }
    starts[SECTION_COUNT] = Schedule::END;
    return starts;
}

// Seconds at which the piece moves to its next section, after the opening one at 0; the last
// entry is the end of the timeline.
constexpr std::array<double, SECTION_COUNT + 1> SECTION_STARTS = sectionStarts();
// Tempo: 120 beats a minute, four beats a bar, sixteen steps a bar.
const double BEAT = 0.5;
const double STEP = BEAT / 4.0;
const double BAR = BEAT * 4.0;
// The music has faded to silence here; the file runs one quiet second longer.
const double FADE_START = 257.0;
const double FADE_END = 265.5;
const double TRACK_SECONDS = 267.0;

struct Score {
    NoteList kick;
    NoteList snare; // pitch 0 snare, 1 clap
    NoteList hats;  // length = decay in seconds, pitch = pan
    NoteList bass;
    NoteList pad; // velocity = filter opening
    NoteList lead;
    NoteList pluck; // length = decay in seconds
    NoteList bell;  // length = decay in seconds
    NoteList chime; // length = decay in seconds, pitch = the root its partials belong to
    NoteList riser; // length = duration of the swell
    NoteList crash; // as hats, with a long decay
    // Stretches where the rest of the mix steps back for the sparkle: length = duration,
    // velocity = gain.
    NoteList room;
    NoteList sparkle; // pitch = bar of the spectrum row, length = decay in seconds
};
