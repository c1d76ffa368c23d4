// Test support: sound files made on the spot.
#include "support/SoundFiles.h"

#include <lame/lame.h>
#include <unistd.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

namespace soundfiles {

std::vector<int16_t> sine(double seconds, double frequency, double amplitude, int channels,
                          int rate) {
    const size_t frames = static_cast<size_t>(seconds * rate);
    std::vector<int16_t> out(frames * channels);
    for (size_t i = 0; i < frames; ++i) {
        const double v = amplitude * 32767.0 * std::sin(2.0 * M_PI * frequency * i / rate);
        for (int c = 0; c < channels; ++c) {
            out[i * channels + c] = static_cast<int16_t>(std::lround(v));
        }
    }
    return out;
}

bool writeMp3(const std::string& path, const std::vector<int16_t>& frames, int channels, int rate,
              int kbps) {
    lame_global_flags* gf = lame_init();
    lame_set_in_samplerate(gf, rate);
    lame_set_out_samplerate(gf, rate);
    lame_set_num_channels(gf, channels);
    lame_set_mode(gf, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(gf, kbps);
    lame_set_quality(gf, 7);
    lame_set_bWriteVbrTag(gf, 1);
    if (lame_init_params(gf) < 0) {
        lame_close(gf);
        return false;
    }
    FILE* f = fopen(path.c_str(), "wb+");
    if (!f) {
        lame_close(gf);
        return false;
    }
    const int chunk = 8192;
    std::vector<unsigned char> out(chunk * 5 / 4 + 7200);
    const size_t total = frames.size() / channels;
    for (size_t at = 0; at < total; at += chunk) {
        const int n =
            static_cast<int>(total - at < static_cast<size_t>(chunk) ? total - at : chunk);
        short* pcm = const_cast<short*>(&frames[at * channels]);
        const int bytes = channels == 1
                              ? lame_encode_buffer(gf, pcm, pcm, n, out.data(), out.size())
                              : lame_encode_buffer_interleaved(gf, pcm, n, out.data(), out.size());
        fwrite(out.data(), 1, bytes > 0 ? bytes : 0, f);
    }
    const int bytes = lame_encode_flush(gf, out.data(), out.size());
    fwrite(out.data(), 1, bytes > 0 ? bytes : 0, f);
    lame_mp3_tags_fid(gf, f); // the Info tag: encoder delay and padding for gapless decoding
    fclose(f);
    lame_close(gf);
    return true;
}

namespace {

bool writePages(ogg_stream_state& stream, FILE* f, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (fwrite(page.header, 1, page.header_len, f) != static_cast<size_t>(page.header_len) ||
            fwrite(page.body, 1, page.body_len, f) != static_cast<size_t>(page.body_len)) {
            return false;
        }
    }
    return true;
}

// Encodes what the analysis has buffered into packets and pages.
bool drain(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, FILE* f) {
    bool ok = true;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        ogg_packet packet;
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            ok = writePages(stream, f, false) && ok;
        }
    }
    return ok;
}

} // namespace

bool writeOgg(const std::string& path, const std::vector<int16_t>& frames, int channels, int rate) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.5f) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    bool ok = writePages(stream, f, true); // the audio starts on a page of its own

    const size_t total = frames.size() / channels;
    const size_t chunk = 4096;
    for (size_t at = 0; at < total; at += chunk) {
        const size_t n = total - at < chunk ? total - at : chunk;
        float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) {
            for (int c = 0; c < channels; ++c) {
                buffer[c][i] = frames[(at + i) * channels + c] / 32768.0f;
            }
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(n));
        ok = drain(dsp, block, stream, f) && ok;
    }
    vorbis_analysis_wrote(&dsp, 0); // the end of the stream
    ok = drain(dsp, block, stream, f) && ok;
    ok = writePages(stream, f, true) && ok;

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return fclose(f) == 0 && ok;
}

bool writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) {
        return false;
    }
    const bool ok = bytes.empty() || fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}

namespace {

void le16(std::vector<unsigned char>& b, unsigned v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

void le32(std::vector<unsigned char>& b, unsigned v) {
    le16(b, v & 0xFFFF);
    le16(b, v >> 16);
}

void text(std::vector<unsigned char>& b, const char* s) {
    while (*s) {
        b.push_back(static_cast<unsigned char>(*s++));
    }
}

} // namespace

bool writeWav(const std::string& path, const std::vector<int16_t>& frames, int channels, int rate) {
    std::vector<unsigned char> b;
    const unsigned data = static_cast<unsigned>(frames.size() * 2);
    text(b, "RIFF");
    le32(b, 36 + data);
    text(b, "WAVEfmt ");
    le32(b, 16);
    le16(b, 1);
    le16(b, channels);
    le32(b, rate);
    le32(b, rate * channels * 2);
    le16(b, channels * 2);
    le16(b, 16);
    text(b, "data");
    le32(b, data);
    for (int16_t s : frames) {
        le16(b, static_cast<uint16_t>(s));
    }
    return writeBytes(path, b);
}

std::vector<unsigned char> protrackerModule() {
    std::vector<unsigned char> b(20, 0); // title
    for (int s = 0; s < 31; ++s) {
        std::vector<unsigned char> header(30, 0);
        if (s == 0) {
            header[23] = 16; // length: 16 words
            header[25] = 64; // volume
            header[29] = 16; // loop length: 16 words from 0
        }
        b.insert(b.end(), header.begin(), header.end());
    }
    b.push_back(1);   // song length: one position
    b.push_back(127); // restart byte
    std::vector<unsigned char> order(128, 0);
    b.insert(b.end(), order.begin(), order.end());
    text(b, "M.K.");
    std::vector<unsigned char> pattern(64 * 4 * 4, 0);
    const unsigned period = 214;
    pattern[0] = (1 & 0xF0) | (period >> 8);
    pattern[1] = period & 0xFF;
    pattern[2] = (1 & 0x0F) << 4;
    b.insert(b.end(), pattern.begin(), pattern.end());
    for (int i = 0; i < 32; ++i) {
        b.push_back(static_cast<unsigned char>(
            static_cast<signed char>(std::lround(100.0 * std::sin(2.0 * M_PI * i / 32.0)))));
    }
    return b;
}

std::vector<unsigned char> midiSong() {
    std::vector<unsigned char> b;
    text(b, "MThd");
    const unsigned char header[] = {0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    b.insert(b.end(), header, header + sizeof(header));
    const unsigned char events[] = {0x00, 0xC0, 0x00,          // piano
                                    0x00, 0x90, 69,   100,     // A4 on
                                    0x81, 0x40, 0x80, 69,  64, // 192 ticks later, off
                                    0x00, 0xFF, 0x2F, 0x00};   // end of track
    text(b, "MTrk");
    b.push_back(0);
    b.push_back(0);
    b.push_back(0);
    b.push_back(sizeof(events));
    b.insert(b.end(), events, events + sizeof(events));
    return b;
}

std::string tempPath(const std::string& name) {
    const std::string file = "vq_sound_" + std::to_string(getpid()) + "_" + name;
    return (std::filesystem::temp_directory_path() / file).string();
}

} // namespace soundfiles
