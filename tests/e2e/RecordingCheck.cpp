// Holds a raw recording of the sound server's monitor against the track as our sound layer
// decodes it, so that no other decoder's rounding stands between them.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "TrackProbe.h"
#include "support/RecordingMatch.h"

namespace {

// Signed 16-bit samples in the machine's order, which parec's s16le is on this machine.
bool readRaw(const char* path, std::vector<int16_t>* samples) {
    FILE* f = fopen(path, "rb");
    if (!f) {
        return false;
    }
    int16_t buffer[8192];
    size_t got = 0;
    while ((got = fread(buffer, sizeof(int16_t), 8192, f)) > 0) {
        samples->insert(samples->end(), buffer, buffer + got);
    }
    fclose(f);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        fprintf(stderr,
                "usage: vq_recording_check TRACK                      (prints RATE CHANNELS)\n"
                "       vq_recording_check TRACK RECORDING SECONDS\n");
        return 2;
    }
    TrackProbe probe;
    if (!probe.load(argv[1])) {
        fprintf(stderr, "vq_recording_check: %s does not load\n", argv[1]);
        return 1;
    }
    if (argc == 2) {
        printf("%d %d\n", probe.rate(), probe.channels());
        return 0;
    }
    std::vector<int16_t> recording;
    if (!readRaw(argv[2], &recording)) {
        fprintf(stderr, "vq_recording_check: cannot read %s\n", argv[2]);
        return 1;
    }
    const long long span = static_cast<long long>(atof(argv[3]) * probe.rate());
    RecordingMatch match(probe.channels(), probe.rate() / 100);
    const bool same = match.compare(probe.samples(), recording, span);
    printf("%s\n", match.report(probe.rate()).c_str());
    return same ? 0 : 1;
}
