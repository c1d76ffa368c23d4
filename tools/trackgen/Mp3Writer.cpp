// MP3 encoding with LAME.
#include "trackgen/Mp3Writer.h"

#include <cstdio>
#include <lame/lame.h>
#include <vector>

#include "trackgen/Dsp.h"

namespace {

bool encode(lame_global_flags* lame, const StereoBuffer& track, FILE* out) {
    const int chunk = 8192;
    std::vector<unsigned char> mp3(static_cast<size_t>(1.25 * chunk + 7200));
    for (size_t pos = 0; pos < track.size(); pos += chunk) {
        const int n = static_cast<int>(
            track.size() - pos < static_cast<size_t>(chunk) ? track.size() - pos : chunk);
        int bytes = lame_encode_buffer_ieee_float(lame, &track.left[pos], &track.right[pos], n,
                                                  mp3.data(), static_cast<int>(mp3.size()));
        if (bytes < 0 || fwrite(mp3.data(), 1, bytes, out) != static_cast<size_t>(bytes)) {
            return false;
        }
    }
    int bytes = lame_encode_flush(lame, mp3.data(), static_cast<int>(mp3.size()));
    if (bytes < 0 || fwrite(mp3.data(), 1, bytes, out) != static_cast<size_t>(bytes)) {
        return false;
    }
    // The Info frame at the head of the file holds the encoder delay and padding, which lets a
    // gapless decoder return exactly the frames we rendered.
    unsigned char tag[2880];
    size_t tagBytes = lame_get_lametag_frame(lame, tag, sizeof(tag));
    if (tagBytes > 0) {
        if (fseek(out, 0, SEEK_SET) != 0 || fwrite(tag, 1, tagBytes, out) != tagBytes) {
            return false;
        }
    }
    return true;
}

} // namespace

bool Mp3Writer::write(const StereoBuffer& track, int kbps, const std::string& path) const {
    lame_global_flags* lame = lame_init();
    if (!lame) {
        fprintf(stderr, "trackgen: cannot start the MP3 encoder\n");
        return false;
    }
    lame_set_in_samplerate(lame, dsp::SAMPLE_RATE);
    lame_set_out_samplerate(lame, dsp::SAMPLE_RATE);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    // Quality 7 keeps encoding near 2 s; at 192 kbit/s the difference is not audible.
    lame_set_quality(lame, 7);
    lame_set_bWriteVbrTag(lame, 1);
    // Keep the whole band up to 22 kHz: the visuals read spectrum entries up to 21 kHz.
    lame_set_lowpassfreq(lame, -1);
    if (lame_init_params(lame) < 0) {
        fprintf(stderr, "trackgen: the MP3 encoder refused its settings\n");
        lame_close(lame);
        return false;
    }
    FILE* out = fopen(path.c_str(), "wb");
    if (!out) {
        fprintf(stderr, "trackgen: cannot write %s\n", path.c_str());
        lame_close(lame);
        return false;
    }
    bool ok = encode(lame, track, out);
    ok = (fclose(out) == 0) && ok;
    lame_close(lame);
    if (!ok) {
        fprintf(stderr, "trackgen: writing %s failed\n", path.c_str());
        remove(path.c_str());
    }
    return ok;
}
