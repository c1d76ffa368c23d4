// Where the playing sound goes: the device, a silent clock, or a position set by the caller.
#pragma once

#include <cstdint>

#include "platform/sound/SoundSeams.h"
#include "platform/sound/Track.h"

class Output {
  public:
    virtual ~Output() {}

    virtual soundlayer::OutputKind kind() const = 0;
    // Plays track from its first frame at volume 0..256; false if this output cannot play
    // the track's rate and channels.
    virtual bool play(const Track* track, int volume) = 0;
    virtual void stop() = 0;
    virtual void setVolume(int volume) { (void)volume; }
    // Moves what is heard to frame of the playing track: it plays on from there, or, paused,
    // is held there (nothing is heard and the position stays at frame until the next seek).
    virtual void seek(long long frame, bool paused) = 0;
    // Frames of the playing track heard so far: 0 or less before the first is heard, and
    // never smaller than a value returned before for the same play or seek.
    virtual long long audibleFrame() = 0;
    // Frames [first, first + count) of the playing track as this output handed them over,
    // copied without waiting on the thread that hands them over; false where it does not have
    // them, and the caller reads the track.
    virtual bool heardFrames(long long first, long long count, int16_t* out) {
        (void)first;
        (void)count;
        (void)out;
        return false;
    }
};
