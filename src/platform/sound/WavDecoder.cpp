// A small RIFF WAVE reader that checks every length against the bytes it has.
#include "platform/sound/WavDecoder.h"

#include <cstring>

#include "platform/sound/LoadResult.h"
#include "platform/sound/SoundFile.h"

namespace {

const int FORMAT_PCM = 1;
const int FORMAT_FLOAT = 3;
const int FORMAT_EXTENSIBLE = 0xFFFE;

unsigned int le16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

unsigned int le32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<unsigned int>(p[3]) << 24);
}

struct WavFormat {
    int format = 0;
    int channels = 0;
    int rate = 0;
    int bits = 0;
};

bool readFormat(const unsigned char* p, size_t size, WavFormat* fmt) {
    if (size < 16) {
        return false;
    }
    fmt->format = static_cast<int>(le16(p));
    fmt->channels = static_cast<int>(le16(p + 2));
    fmt->rate = static_cast<int>(le32(p + 4));
    fmt->bits = static_cast<int>(le16(p + 14));
    if (fmt->format == FORMAT_EXTENSIBLE && size >= 26) {
        fmt->format = static_cast<int>(le16(p + 24)); // first two bytes of the sub-format GUID
    }
    const bool intOk = fmt->format == FORMAT_PCM &&
                       (fmt->bits == 8 || fmt->bits == 16 || fmt->bits == 24 || fmt->bits == 32);
    const bool floatOk = fmt->format == FORMAT_FLOAT && fmt->bits == 32;
    return (intOk || floatOk) && fmt->channels >= 1 && fmt->channels <= 2 && fmt->rate > 0 &&
           fmt->rate <= 384000;
}

int16_t sampleAt(const unsigned char* p, const WavFormat& fmt) {
    if (fmt.format == FORMAT_FLOAT) {
        float v = 0.0f;
        memcpy(&v, p, sizeof(v));
        v = v > 1.0f ? 1.0f : (v < -1.0f ? -1.0f : v);
        if (v != v) {
            v = 0.0f;
        }
        return static_cast<int16_t>(v * 32767.0f);
    }
    switch (fmt.bits) {
    case 8:
        return static_cast<int16_t>((p[0] - 128) * 256);
    case 16:
        return static_cast<int16_t>(le16(p));
    default:
        return static_cast<int16_t>(le16(p + fmt.bits / 8 - 2)); // the top 16 bits
    }
}

} // namespace

LoadResult WavDecoder::decode(const char* name, Track* track) {
    std::vector<unsigned char> data;
    const LoadResult rc = SoundFile::readAll(name, &data);
    return rc != LoadResult::OK ? rc : decodeMemory(data, track);
}

LoadResult WavDecoder::decodeMemory(const std::vector<unsigned char>& data, Track* track) {
    if (!SoundFile::startsWith(data, "RIFF", 4) || data.size() < 12 ||
        memcmp(&data[8], "WAVE", 4) != 0) {
        return LoadResult::UNKNOWN_FORMAT;
    }
    WavFormat fmt;
    bool haveFormat = false;
    size_t pos = 12;
    while (pos + 8 <= data.size()) {
        const unsigned char* chunk = &data[pos];
        const size_t available = data.size() - pos - 8;
        size_t size = le32(chunk + 4);
        if (memcmp(chunk, "fmt ", 4) == 0) {
            haveFormat = readFormat(chunk + 8, size < available ? size : available, &fmt);
        } else if (memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat) {
                return LoadResult::UNKNOWN_FORMAT;
            }
            size = size < available ? size : available;
            const size_t frameBytes = static_cast<size_t>(fmt.bits / 8) * fmt.channels;
            const size_t frames = size / frameBytes;
            track->rate = fmt.rate;
            track->channels = fmt.channels;
            track->samples.resize(frames * fmt.channels);
            for (size_t i = 0; i < frames * fmt.channels; ++i) {
                track->samples[i] = sampleAt(chunk + 8 + i * (fmt.bits / 8), fmt);
            }
            return frames > 0 ? LoadResult::OK : LoadResult::UNKNOWN_FORMAT;
        }
        if (size > available) {
            break;
        }
        pos += 8 + size + (size & 1); // chunks are padded to even lengths
    }
    return LoadResult::UNKNOWN_FORMAT;
}
