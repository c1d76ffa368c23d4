// Everything the composer decides: the sections and the notes of every instrument.
#pragma once

#include "Note.h"

// Seconds at which the piece moves to its next section, after the opening one at 0.
const int SECTION_COUNT = 8;
const double SECTION_STARTS[SECTION_COUNT + 1] = {0.0,   26.0,  90.0,  122.0, 170.0,
                                                  194.0, 226.0, 249.0, 266.0};
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
