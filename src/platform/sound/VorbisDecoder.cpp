// Whole-file Ogg Vorbis decoding into 16-bit frames.
#include "platform/sound/VorbisDecoder.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>

#include "platform/sound/LoadResult.h"
#include "platform/sound/SoundFile.h"

namespace {

LoadResult readAll(OggVorbis_File* vf, int fileChannels, Track* track) {
    const long long total = std::min<long long>(ov_pcm_total(vf, -1), Track::MOST_FRAMES_RESERVED);
    if (total > 0) {
        track->samples.reserve(static_cast<size_t>(total) * track->channels);
    }
    char block[16384];
    int section = 0;
    for (;;) {
        const long bytes = ov_read(vf, block, sizeof(block), 0, 2, 1, &section);
        if (bytes == OV_HOLE) {
            continue; // a gap in the stream: carry on after it
        }
        if (bytes <= 0) {
            break; // end, or a stream too damaged to go on: keep what decoded
        }
        // A chained stream may change its channel count from one section to the next.
        const vorbis_info* info = ov_info(vf, section);
        const int channels = info && info->channels > 0 ? info->channels : fileChannels;
        const int16_t* in = reinterpret_cast<const int16_t*>(block);
        const long frames = bytes / (2 * channels);
        for (long f = 0; f < frames; ++f) {
            for (int c = 0; c < track->channels; ++c) {
                track->samples.push_back(in[f * channels + (c < channels ? c : channels - 1)]);
            }
        }
    }
    return track->samples.empty() ? LoadResult::UNKNOWN_FORMAT : LoadResult::OK;
}

} // namespace

LoadResult VorbisDecoder::decode(const char* name, Track* track) {
    if (!SoundFile::exists(name)) {
        return LoadResult::NOT_FOUND;
    }
    OggVorbis_File vf;
    if (ov_fopen(name, &vf) != 0) {
        return LoadResult::UNKNOWN_FORMAT;
    }
    LoadResult result = LoadResult::UNKNOWN_FORMAT;
    const vorbis_info* info = ov_info(&vf, -1);
    if (info && info->channels > 0 && info->rate > 0) {
        track->rate = static_cast<int>(info->rate);
        track->channels = info->channels == 1 ? 1 : 2;
        result = readAll(&vf, info->channels, track);
    }
    ov_clear(&vf);
    return result;
}
