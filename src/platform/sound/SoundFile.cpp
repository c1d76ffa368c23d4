// Whole-file reading for the decoders that work from memory.
#include "platform/sound/SoundFile.h"

#include <cstdio>
#include <cstring>

#include "platform/sound/LoadResult.h"

bool SoundFile::exists(const char* name) {
    FILE* f = name ? fopen(name, "rb") : nullptr;
    if (!f) {
        return false;
    }
    fclose(f);
    return true;
}

LoadResult SoundFile::readAll(const char* name, std::vector<unsigned char>* data) {
    data->clear();
    FILE* f = name ? fopen(name, "rb") : nullptr;
    if (!f) {
        return LoadResult::NOT_FOUND;
    }
    unsigned char block[65536];
    bool failed = false;
    for (;;) {
        const size_t got = fread(block, 1, sizeof(block), f);
        data->insert(data->end(), block, block + got);
        if (got < sizeof(block)) {
            failed = ferror(f) != 0;
            break;
        }
    }
    fclose(f);
    if (failed) {
        return LoadResult::UNREADABLE;
    }
    return data->empty() ? LoadResult::UNKNOWN_FORMAT : LoadResult::OK;
}

bool SoundFile::startsWith(const std::vector<unsigned char>& data, const char* magic, int length) {
    return data.size() >= static_cast<size_t>(length) && memcmp(data.data(), magic, length) == 0;
}
