// A recording of what a sound server played, held against the track it was given: where the
// track starts in it, whether every block of the track is there unchanged, and whether the
// track's place in the recording is the same at the end as at the start.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RecordingMatch {
  public:
    // Offsets and shifts that could not be found.
    static const long long NONE;

    // blockFrames is the stretch compared at once (10 ms is rate / 100). tolerance is the
    // difference a sample may have and still be the same (another decoder's rounding); sound
    // starts above it.
    RecordingMatch(int channels, int blockFrames, int tolerance = 0);

    // Compares the track's first spanFrames frames with the recording, both interleaved 16-bit
    // frames of the channel count; true when the recording holds all of them, starting with the
    // track's first sample, every block exact (within the tolerance) and at one offset.
    bool compare(const std::vector<int16_t>& track, const std::vector<int16_t>& recording,
                 long long spanFrames);
    // Reads a raw recording: signed 16-bit samples in the machine's order (parec's s16le, the
    // disk writer's, ffmpeg's s16le here). False when the file cannot be opened.
    static bool readRaw(const char* path, std::vector<int16_t>* samples);

    // What compare found, in words (frames turned into seconds at rate).
    std::string report(int rate) const;

    long long startOffset;   // recording frame of the track's frame 0; NONE for a silent one
    long long endOffset;     // the same, found again from the last block of the span
    long long checkedBlocks; // blocks compared
    long long badBlocks;     // blocks that differ from the track at the start offset
    long long firstBadBlock; // the first of them, or -1
    long long firstBadShift; // where that block was found instead, from the start offset
    int firstBadDifference;  // the largest sample difference in that block
    bool tooShort;           // the recording ends before the span does
    bool soundBeforeTrack;   // something was heard before the track's first sample

  private:
    bool compareSpan(long long spanFrames);
    long long frames(const std::vector<int16_t>& samples) const;
    long long firstSound(const std::vector<int16_t>& samples) const;
    // True when the track's block starting at trackFrame lies at recording frame
    // trackFrame + offset, sample for sample.
    bool blockAt(long long trackFrame, long long offset) const;
    int largestDifference(long long trackFrame, long long offset) const;
    bool silentInTrack(long long trackFrame) const;
    // The offset nearest to `near`, within radius frames, at which the block is found; NONE.
    long long findBlock(long long trackFrame, long long near, long long radius) const;

    const std::vector<int16_t>* track;     // during compare only
    const std::vector<int16_t>* recording; // during compare only
    int channels;
    int blockFrames;
    int tolerance;
};
