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

DeviceOutput::DeviceOutput(bool shortBuffers)
    : ring(nullptr), feeder(DeviceQueue::decodesOnAThread()), playback(), rate(0), channels(0),
      shortBuffers(shortBuffers), bufferFrames(0), opened(false), playing(false), held(false),
      heldFrame(0), sequence(0), handed(0), stamp(0), lastAudible(-1), ahead(0), beganAt(),
      endedAt(), calls(0) {}

DeviceOutput::~DeviceOutput() {
    // The audio subsystem stays up for the process: sdl12-compat crashes when it is shut
    // down and started again, and SDL_Quit at exit ends it.
    close();
    feeder.stop();
    delete ring;
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
    want.samples = static_cast<Uint16>(shortBuffers ? DeviceQueue::shortBufferFrames(rate)
                                                    : DeviceQueue::bufferFrames(rate));
    want.callback = &DeviceOutput::callback;
    want.userdata = this;
    // Without an "obtained" format to fill in, SDL converts to the hardware's format itself.
    if (SDL_OpenAudio(&want, nullptr) != 0) {
        return false;
    }
    this->rate = rate;
    this->channels = channels;
    bufferFrames = want.samples;
    ahead = DeviceQueue::heldAhead(bufferFrames, rate);
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
    feeder.stop();
    delete ring;
    ring = nullptr;
    if (track) {
        const long long frames = FrameRing::capacityFor(bufferFrames);
        ring = new FrameRing(track->channels, frames, frames / 2);
        feeder.start(track, ring, 0, bufferFrames);
    }
    playback.start(track, ring);
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
    feeder.stop();
    playback.start(nullptr, nullptr);
    playing = false;
    publish(0, steadyNanoseconds());
    SDL_UnlockAudio();
}

void DeviceOutput::seek(long long frame, bool paused) {
    if (!opened) {
        return;
    }
    SDL_LockAudio();
    if (playing) {
        // Held, only the frames before it are decoded, for the spectrum.
        feeder.start(playback.track(), ring, frame > 0 ? frame : 0, paused ? 0 : bufferFrames);
    }
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
    const long long began = steadyNanoseconds();
    if (self->held) {
        memset(stream, 0, static_cast<size_t>(len));
    } else {
        const int frames = len / (static_cast<int>(sizeof(int16_t)) * self->channels);
        if (!DeviceQueue::decodesOnAThread()) {
            // A few buffers ahead: the page's one thread decodes a little in each call.
            self->feeder.feed(4LL * frames);
        }
        const int played =
            self->playback.fill(reinterpret_cast<int16_t*>(stream), frames, self->channels);
        if (self->playing) {
            self->publish(self->handed.load(std::memory_order_relaxed) + played, began);
        }
    }
    const unsigned call = self->calls.load(std::memory_order_relaxed);
    self->beganAt[call % TIMES_KEPT].store(began, std::memory_order_relaxed);
    self->endedAt[call % TIMES_KEPT].store(steadyNanoseconds(), std::memory_order_relaxed);
    self->calls.store(call + 1, std::memory_order_release);
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
        // The buffer handed over at the stamp waits behind what the device held then.
        const double since = (steadyNanoseconds() - at) * 1e-9;
        position = frames - bufferFrames - ahead + static_cast<long long>(since * rate);
    }
    position = position < frames ? position : frames;
    position = position > lastAudible ? position : lastAudible;
    lastAudible = position;
    return position;
}

bool DeviceOutput::heardFrames(long long first, long long count, int16_t* out) {
    return ring && ring->copyTaken(first, count, out);
}

int DeviceOutput::callbackTimes(soundlayer::CallbackTime* out, int most) const {
    const unsigned total = calls.load(std::memory_order_acquire);
    unsigned n = total < static_cast<unsigned>(TIMES_KEPT) ? total : TIMES_KEPT;
    n = n < static_cast<unsigned>(most) ? n : static_cast<unsigned>(most);
    for (unsigned i = 0; i < n; ++i) {
        const unsigned call = total - n + i;
        out[i].began = beganAt[call % TIMES_KEPT].load(std::memory_order_relaxed);
        out[i].ended = endedAt[call % TIMES_KEPT].load(std::memory_order_relaxed);
    }
    return static_cast<int>(n);
}
