// What a streamed track decodes from: a file read on demand, from any frame.
#pragma once

#include <cstdint>

class TrackDecoder {
  public:
    virtual ~TrackDecoder() {}

    // The next read starts at frame, which lies inside the track; false if it cannot.
    virtual bool seek(long long frame) = 0;
    // Decodes up to count frames into out, in the track's channels; how many it wrote, 0 at
    // the end of what decodes.
    virtual long long read(int16_t* out, long long count) = 0;
};
