// SDL audio device output and its audible position.
#include "platform/sound/DeviceOutput.h"

#include <chrono>
#include <cstring>

#include "platform/sound/AlsaMessages.h"
#include "platform/sound/DeviceQueue.h"

namespace {

long long steadyNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

DeviceOutput::DeviceOutput()
    : playback(), rate(0), channels(0), bufferFrames(0), opened(false), playing(false), held(false),
      heldFrame(0), sequence(0), handed(0), stamp(0), lastAudible(-1) {}

DeviceOutput::~DeviceOutput() {
    // The audio subsystem stays up for the process: sdl12-compat crashes when it is shut
    // down and started again, and SDL_Quit at exit ends it.
    close();
}

bool DeviceOutput::open(int rate, int channels) {
    // SDL probes ALSA's devices from here on; a failure is reported once, by the layer.
    AlsaMessages::install();
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec want;
    memset(&want, 0, sizeof(want));
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(channels);
    // About 23 ms buffers keep the position's uncertainty short. A power of two: with 882
    // frames SDL2's dummy driver (under sdl12-compat) writes past its mixing buffer.
    Uint16 samples = 256;
    while (samples * 2 <= rate / 40) {
        samples = static_cast<Uint16>(samples * 2);
    }
    want.samples = samples;
    want.callback = &DeviceOutput::callback;
    want.userdata = this;
    // Without an "obtained" format to fill in, SDL converts to the hardware's format itself.
    if (SDL_OpenAudio(&want, nullptr) != 0) {
        return false;
    }
    this->rate = rate;
    this->channels = channels;
    bufferFrames = want.samples;
    opened = true;
    AlsaMessages::pass(true);
    return true;
}

void DeviceOutput::close() {
    if (opened) {
        SDL_CloseAudio();
        opened = false;
        AlsaMessages::pass(false);
    }
}

bool DeviceOutput::play(const Track* track, int volume) {
    if (track && (track->rate != rate || track->channels != channels)) {
        close();
        if (!open(track->rate, track->channels)) {
            return false;
        }
    }
    if (!opened) {
        return false;
    }
    SDL_LockAudio();
    playback.start(track);
    playback.setVolume(volume);
    playing = track != nullptr;
    held = false;
    publish(0, steadyNanoseconds());
    lastAudible = -1;
    SDL_UnlockAudio();
    SDL_PauseAudio(0);
    return true;
}

void DeviceOutput::stop() {
    if (!opened) {
        return;
    }
    SDL_LockAudio();
    playback.start(nullptr);
    playing = false;
    publish(0, steadyNanoseconds());
    SDL_UnlockAudio();
}

void DeviceOutput::seek(long long frame, bool paused) {
    if (!opened) {
        return;
    }
    SDL_LockAudio();
    playback.seek(frame);
    held = paused;
    heldFrame = frame;
    // Counted from frame on; the first buffer from there is heard one buffer after it is
    // handed over, and until then the position stays at frame.
    publish(frame, steadyNanoseconds());
    lastAudible = frame;
    SDL_UnlockAudio();
}

void DeviceOutput::callback(void* user, Uint8* stream, int len) {
    DeviceOutput* self = static_cast<DeviceOutput*>(user);
    if (self->held) {
        memset(stream, 0, static_cast<size_t>(len));
        return;
    }
    const int frames = len / (static_cast<int>(sizeof(int16_t)) * self->channels);
    self->playback.fill(reinterpret_cast<int16_t*>(stream), frames, self->channels);
    if (self->playing) {
        self->publish(self->handed.load(std::memory_order_relaxed) + frames, steadyNanoseconds());
    }
}

void DeviceOutput::publish(long long frames, long long nanoseconds) {
    const unsigned s = sequence.load(std::memory_order_relaxed);
    sequence.store(s + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    handed.store(frames, std::memory_order_relaxed);
    stamp.store(nanoseconds, std::memory_order_relaxed);
    sequence.store(s + 2, std::memory_order_release);
}

long long DeviceOutput::audibleFrame() {
    if (playing && held) {
        return heldFrame;
    }
    long long frames = 0;
    long long at = 0;
    unsigned before = 0;
    unsigned after = 0;
    do {
        before = sequence.load(std::memory_order_acquire);
        frames = handed.load(std::memory_order_relaxed);
        at = stamp.load(std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_acquire);
        after = sequence.load(std::memory_order_relaxed);
    } while ((before & 1u) != 0 || before != after);
    if (!playing || frames == 0) {
        return -1;
    }
    long long position = 0;
    double queued = 0.0;
    if (DeviceQueue::queuedSeconds(&queued)) {
        position = frames - static_cast<long long>(queued * rate + 0.5);
        position = position > 0 ? position : 0;
    } else {
        // The last buffer handed over is still in the device; its playing began at the stamp.
        const double since = (steadyNanoseconds() - at) * 1e-9;
        position = frames - bufferFrames + static_cast<long long>(since * rate);
    }
    position = position < frames ? position : frames;
    position = position > lastAudible ? position : lastAudible;
    lastAudible = position;
    return position;
}
