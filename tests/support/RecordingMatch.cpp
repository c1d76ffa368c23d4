// Comparing a recording with its track, block by block.
#include "support/RecordingMatch.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

const long long RecordingMatch::NONE = LLONG_MIN;

namespace {

// How far a block that is not at its place is looked for: a second of 44.1 kHz either way.
const long long SEARCH_RADIUS = 44100;

std::string seconds(long long frames, int rate) {
    char text[32];
    snprintf(text, sizeof(text), "%.3f s", static_cast<double>(frames) / rate);
    return text;
}

} // namespace

RecordingMatch::RecordingMatch(int channels, int blockFrames, int tolerance)
    : startOffset(NONE), endOffset(NONE), checkedBlocks(0), badBlocks(0), firstBadBlock(-1),
      firstBadShift(NONE), firstBadDifference(0), tooShort(false), soundBeforeTrack(false),
      track(nullptr), recording(nullptr), channels(channels), blockFrames(blockFrames),
      tolerance(tolerance) {}

long long RecordingMatch::frames(const std::vector<int16_t>& samples) const {
    return static_cast<long long>(samples.size()) / channels;
}

long long RecordingMatch::firstSound(const std::vector<int16_t>& samples) const {
    for (size_t i = 0; i < samples.size(); ++i) {
        if (samples[i] > tolerance || samples[i] < -tolerance) {
            return static_cast<long long>(i) / channels;
        }
    }
    return -1;
}

bool RecordingMatch::blockAt(long long trackFrame, long long offset) const {
    const std::vector<int16_t>& track = *this->track;
    const std::vector<int16_t>& recording = *this->recording;
    const long long at = trackFrame + offset;
    if (at < 0 || at + blockFrames > frames(recording) ||
        trackFrame + blockFrames > frames(track)) {
        return false;
    }
    if (tolerance == 0) {
        return memcmp(&recording[at * channels], &track[trackFrame * channels],
                      sizeof(int16_t) * blockFrames * channels) == 0;
    }
    for (long long i = 0; i < static_cast<long long>(blockFrames) * channels; ++i) {
        const int d = recording[at * channels + i] - track[trackFrame * channels + i];
        if (d > tolerance || d < -tolerance) {
            return false;
        }
    }
    return true;
}

int RecordingMatch::largestDifference(long long trackFrame, long long offset) const {
    const std::vector<int16_t>& track = *this->track;
    const std::vector<int16_t>& recording = *this->recording;
    int largest = 0;
    const long long at = trackFrame + offset;
    for (long long i = 0; i < static_cast<long long>(blockFrames) * channels; ++i) {
        const long long r = at * channels + i;
        const int heard = r >= 0 && r < static_cast<long long>(recording.size()) ? recording[r] : 0;
        const int d = abs(heard - track[trackFrame * channels + i]);
        largest = d > largest ? d : largest;
    }
    return largest;
}

bool RecordingMatch::silentInTrack(long long trackFrame) const {
    const std::vector<int16_t>& track = *this->track;
    for (long long i = 0; i < static_cast<long long>(blockFrames) * channels; ++i) {
        if (track[trackFrame * channels + i] != 0) {
            return false;
        }
    }
    return true;
}

long long RecordingMatch::findBlock(long long trackFrame, long long near, long long radius) const {
    for (long long d = 0; d <= radius; ++d) {
        if (blockAt(trackFrame, near - d)) {
            return near - d;
        }
        if (d > 0 && blockAt(trackFrame, near + d)) {
            return near + d;
        }
    }
    return NONE;
}

bool RecordingMatch::compare(const std::vector<int16_t>& track,
                             const std::vector<int16_t>& recording, long long spanFrames) {
    *this = RecordingMatch(channels, blockFrames, tolerance);
    this->track = &track;
    this->recording = &recording;
    const bool same = compareSpan(spanFrames);
    this->track = nullptr;
    this->recording = nullptr;
    return same;
}

bool RecordingMatch::compareSpan(long long spanFrames) {
    const std::vector<int16_t>& track = *this->track;
    const std::vector<int16_t>& recording = *this->recording;
    const long long heardAt = firstSound(recording);
    const long long trackAt = firstSound(track);
    if (heardAt < 0 || trackAt < 0) {
        return false;
    }
    // The first sound heard is the track's first non-zero frame; everything before it is the
    // track's leading silence or the server's.
    startOffset = heardAt - trackAt;
    soundBeforeTrack = startOffset < 0;
    if (soundBeforeTrack) {
        return false;
    }
    const long long span = spanFrames < frames(track) ? spanFrames : frames(track);
    tooShort = startOffset + span > frames(recording);
    const long long blocks = span / blockFrames;
    for (long long b = 0; b < blocks; ++b) {
        const long long frame = b * blockFrames;
        if (startOffset + frame + blockFrames > frames(recording)) {
            break;
        }
        ++checkedBlocks;
        if (blockAt(frame, startOffset)) {
            continue;
        }
        if (badBlocks++ == 0) {
            firstBadBlock = b;
            firstBadDifference = largestDifference(frame, startOffset);
            const long long found = findBlock(frame, startOffset, SEARCH_RADIUS);
            firstBadShift = found == NONE ? NONE : found - startOffset;
        }
    }
    // Measured afresh at the last block of the span that holds sound: a drift, a dropped or a
    // repeated buffer anywhere before it moves it.
    for (long long b = checkedBlocks - 1; b >= 0; --b) {
        const long long frame = b * blockFrames;
        if (!silentInTrack(frame)) {
            endOffset = findBlock(frame, startOffset, SEARCH_RADIUS);
            break;
        }
    }
    return !tooShort && badBlocks == 0 && checkedBlocks == blocks && endOffset == startOffset;
}

std::string RecordingMatch::report(int rate) const {
    if (startOffset == NONE) {
        return "the recording holds no sound";
    }
    if (soundBeforeTrack) {
        return "sound was heard " + seconds(-startOffset, rate) +
               " before the track's first sample";
    }
    std::string text = "the track starts at " + seconds(startOffset, rate) + " of the recording; " +
                       std::to_string(checkedBlocks) + " blocks of " + seconds(blockFrames, rate) +
                       " compared, " + std::to_string(badBlocks) + " differ";
    if (firstBadBlock >= 0) {
        text += "; the first at " + seconds(firstBadBlock * blockFrames, rate) +
                " of the track (largest difference " + std::to_string(firstBadDifference) + ", ";
        text += firstBadShift == NONE
                    ? std::string("not found within a second")
                    : "found shifted by " + std::to_string(firstBadShift) + " frames";
        text += ")";
    }
    if (endOffset == NONE) {
        text += "; the span's last block was not found";
    } else if (endOffset != startOffset) {
        text += "; the offset moved by " + std::to_string(endOffset - startOffset) +
                " frames by the end";
    } else {
        text += "; same offset at the end";
    }
    if (tooShort) {
        text += "; the recording ends before the span";
    }
    return text;
}

bool RecordingMatch::readRaw(const char* path, std::vector<int16_t>* samples) {
    FILE* f = fopen(path, "rb");
    if (!f) {
        return false;
    }
    int16_t buffer[8192];
    size_t got = 0;
    while ((got = fread(buffer, sizeof(int16_t), 8192, f)) > 0) {
        samples->insert(samples->end(), buffer, buffer + got);
    }
    fclose(f);
    return true;
}
