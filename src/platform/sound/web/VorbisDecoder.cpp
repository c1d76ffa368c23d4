// Ogg Vorbis in the browser: the build has no Vorbis decoder, so such a sample does not load.
#include "platform/sound/VorbisDecoder.h"

LoadResult VorbisDecoder::decode(const char*, Track*) {
    return LoadResult::UNKNOWN_FORMAT;
}
