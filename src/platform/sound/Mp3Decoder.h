// MP3 (and MP2) files through libmpg123, gapless, keeping the file's channels and rate: streamed
// where a seek is exact, otherwise decoded whole.
#pragma once

#include "platform/sound/LoadResult.h"
#include "platform/sound/Track.h"
#include "platform/sound/TrackDecoder.h"

struct mpg123_handle_struct;

class Mp3Decoder : public TrackDecoder {
  public:
    // Makes track a streamed track of the file, or for mono and MPEG-2 files decodes it whole;
    // OK, or why not. A streamed file is scanned first, so that its length is exact and every
    // seek lands on its sample. A file cut short keeps what decodes; a file with no decodable
    // frame is an unknown format.
    static LoadResult open(const char* name, Track* track);

    ~Mp3Decoder() override;
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    bool seek(long long frame) override;
    long long read(int16_t* out, long long count) override;

  private:
    Mp3Decoder(mpg123_handle_struct* handle, int channels);
    // Frames up to where decoding stops; 0 when nothing decodes.
    long long measure();

    mpg123_handle_struct* handle;
    int channels;
};
