// Format detection for samples and songs.
#include "platform/sound/TrackLoader.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/sound/LoadResult.h"
#include "platform/sound/MidiRenderer.h"
#include "platform/sound/ModuleRenderer.h"
#include "platform/sound/Mp3Decoder.h"
#include "platform/sound/SoundFile.h"
#include "platform/sound/VorbisDecoder.h"
#include "platform/sound/WavDecoder.h"

namespace {

// Reads up to 12 bytes; -1 when the file cannot be opened.
int readHead(const char* name, unsigned char head[12]) {
    FILE* f = name ? fopen(name, "rb") : nullptr;
    if (!f) {
        return -1;
    }
    const size_t got = fread(head, 1, 12, f);
    fclose(f);
    return static_cast<int>(got);
}

} // namespace

LoadResult TrackLoader::loadSample(const char* name, Track* track) {
    unsigned char head[12] = {};
    const int got = readHead(name, head);
    if (got < 0) {
        return LoadResult::NOT_FOUND;
    }
    if (got == 0) {
        return LoadResult::UNKNOWN_FORMAT;
    }
    if (got >= 4 && memcmp(head, "OggS", 4) == 0) {
        return VorbisDecoder::decode(name, track);
    }
    if (got >= 12 && memcmp(head, "RIFF", 4) == 0 && memcmp(head + 8, "WAVE", 4) == 0) {
        return WavDecoder::decode(name, track);
    }
    return Mp3Decoder::open(name, track);
}

LoadResult TrackLoader::loadSong(const char* name, Track* track) {
    std::vector<unsigned char> data;
    const LoadResult rc = SoundFile::readAll(name, &data);
    if (rc != LoadResult::OK) {
        return rc;
    }
    if (SoundFile::startsWith(data, "MThd", 4)) {
        return MidiRenderer::render(data, track);
    }
    return ModuleRenderer::render(data, track);
}
