// libFuzzer entry: arbitrary bytes through one loader of the sound layer (VQ_FUZZ_LOADER picks it).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "platform/sound/MidiRenderer.h"
#include "platform/sound/ModuleRenderer.h"
#include "platform/sound/Mp3Decoder.h"
#include "platform/sound/Track.h"
#include "platform/sound/VorbisDecoder.h"
#include "platform/sound/WavDecoder.h"

#define VQ_LOADER_WAV 1
#define VQ_LOADER_MP3 2
#define VQ_LOADER_OGG 3
#define VQ_LOADER_MIDI 4
#define VQ_LOADER_MODULE 5

namespace {

// The file decoders read by name: the bytes go into one memory file reused for every input.
const char* memoryFile(const uint8_t* data, size_t size) {
    static const int fd = memfd_create("sound-fuzz", 0);
    static char path[64];
    if (fd < 0 || ftruncate(fd, 0) != 0 || pwrite(fd, data, size, 0) != ssize_t(size)) {
        __builtin_trap();
    }
    std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Track track;
#if VQ_FUZZ_LOADER == VQ_LOADER_WAV
    WavDecoder::decodeMemory(std::vector<unsigned char>(data, data + size), &track);
#elif VQ_FUZZ_LOADER == VQ_LOADER_MP3
    Mp3Decoder::open(memoryFile(data, size), &track);
#elif VQ_FUZZ_LOADER == VQ_LOADER_OGG
    VorbisDecoder::decode(memoryFile(data, size), &track);
#elif VQ_FUZZ_LOADER == VQ_LOADER_MIDI
    (void)memoryFile;
    MidiRenderer::render(std::vector<unsigned char>(data, data + size), &track);
#elif VQ_FUZZ_LOADER == VQ_LOADER_MODULE
    (void)memoryFile;
    ModuleRenderer::render(std::vector<unsigned char>(data, data + size), &track);
#else
#error "VQ_FUZZ_LOADER names no loader"
#endif
    // The track's format must be sound and every frame it claims readable.
    if (track.frames() == 0) {
        return 0;
    }
    if (track.channels < 1 || track.channels > 2 || track.rate <= 0 ||
        track.samples.size() % track.channels != 0) {
        __builtin_trap();
    }
    static int16_t block[2 * 4096];
    volatile long sum = 0;
    for (long long at = 0; at < track.frames(); at += 4096) {
        track.read(at, 4096, block);
        sum = sum + block[0];
    }
    return 0;
}
