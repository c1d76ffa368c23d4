// A build without a Vorbis decoder (VQ_WITH_VORBIS off): an Ogg Vorbis sample does not load.
#include "platform/sound/VorbisDecoder.h"

LoadResult VorbisDecoder::decode(const char*, Track*) {
    return LoadResult::UNKNOWN_FORMAT;
}
