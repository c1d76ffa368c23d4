// Whole-song module rendering: done at load so that playback only copies.
#include "platform/sound/ModuleRenderer.h"

#include <libopenmpt/libopenmpt.h>

#include "platform/sound/LoadResult.h"

namespace {

const size_t BLOCK_FRAMES = 4096;

} // namespace

LoadResult ModuleRenderer::render(const std::vector<unsigned char>& data, Track* track) {
    int error = 0;
    const char* message = nullptr;
    openmpt_module* mod = openmpt_module_create_from_memory2(
        data.data(), data.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
        nullptr, &error, &message, nullptr);
    openmpt_free_string(message);
    if (!mod) {
        return LoadResult::UNKNOWN_FORMAT;
    }
    openmpt_module_set_repeat_count(mod, 0); // play once, then stop
    track->rate = RATE;
    track->channels = 2;
    const double seconds = openmpt_module_get_duration_seconds(mod);
    if (seconds > 0.0 && seconds < MAX_SECONDS) {
        track->samples.reserve((static_cast<size_t>(seconds * RATE) + BLOCK_FRAMES) * 2);
    }
    const size_t maxFrames = static_cast<size_t>(MAX_SECONDS) * RATE;
    size_t frames = 0;
    while (frames < maxFrames) {
        track->samples.resize((frames + BLOCK_FRAMES) * 2);
        const size_t got = openmpt_module_read_interleaved_stereo(mod, RATE, BLOCK_FRAMES,
                                                                  &track->samples[frames * 2]);
        frames += got;
        if (got == 0) {
            break;
        }
    }
    track->samples.resize(frames * 2);
    openmpt_module_destroy(mod);
    return frames > 0 ? LoadResult::OK : LoadResult::UNKNOWN_FORMAT;
}
