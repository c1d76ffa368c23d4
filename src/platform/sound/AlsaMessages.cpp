// ALSA's error handler: ALSA's own format while a device is open, nothing otherwise.
#include "platform/sound/AlsaMessages.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {

// ALSA's handler takes no user pointer, so its state lives here; SDL's threads call it.
std::atomic<bool> passing(false);
std::atomic<int> held(0);

void handler(const char* file, int line, const char* function, int err, const char* fmt, ...) {
    if (!passing.load()) {
        held.fetch_add(1);
        return;
    }
    // The line ALSA's default handler writes.
    va_list args;
    va_start(args, fmt);
    fprintf(stderr, "ALSA lib %s:%i:(%s) ", file, line, function);
    vfprintf(stderr, fmt, args);
    if (err) {
        fprintf(stderr, ": %s", snd_strerror(err));
    }
    putc('\n', stderr);
    va_end(args);
}

} // namespace

void AlsaMessages::install() {
    static const int installed = snd_lib_error_set_handler(&handler);
    (void)installed;
}

void AlsaMessages::pass(bool deviceOpen) {
    passing.store(deviceOpen);
}

int AlsaMessages::heldLines() {
    return held.load();
}
