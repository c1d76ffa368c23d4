// One scheduled note or drum hit of the score.
#pragma once

#include <vector>

struct Note {
    double start = 0.0;  // seconds from the start of the track
    float length = 0.0f; // seconds the gate stays open
    float pitch = 0.0f;  // MIDI note number (drums: ignored or a variant)
    float velocity = 1.0f;
};

typedef std::vector<Note> NoteList;
