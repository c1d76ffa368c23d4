// The soundtrack span as WAV, then ffmpeg fed raw frames on its standard input.
#include "capture/VideoEncoder.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "gl/VideoColour.h"
#include "platform/Music.h"

namespace {

// "out.mp4" -> "out.partial.mp4": ffmpeg still sees the container in the extension.
std::string partialName(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return file + ".partial";
    }
    return file.substr(0, dot) + ".partial" + file.substr(dot);
}

// "out.MKV" -> "mkv"; empty without an extension.
std::string extensionOf(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    const size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return "";
    }
    std::string ext = file.substr(dot + 1);
    for (char& c : ext) {
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return ext;
}

void put16(FILE* f, int v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    fwrite(b, 1, 2, f);
}

void put32(FILE* f, unsigned v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    fwrite(b, 1, 4, f);
}

} // namespace

VideoEncoder::VideoEncoder()
    : ffmpeg(), running(false), frameBytes(0), target(), partial(), wavPath() {}

VideoEncoder::~VideoEncoder() {
    abort();
}

bool VideoEncoder::ffmpegAvailable() {
    return EncoderProcess::runs({"ffmpeg", "-version"});
}

bool VideoEncoder::writeWav(const Music* music, long long first, long long frames,
                            std::string& error) {
    const bool loaded = music && music->rate() > 0 && music->channels() > 0;
    const int rate = loaded ? music->rate() : 44100;
    const int channels = loaded ? music->channels() : 2;
    FILE* f = fopen(wavPath.c_str(), "wb");
    if (!f) {
        error = "cannot write " + wavPath + ": " + strerror(errno);
        return false;
    }
    const unsigned dataBytes = static_cast<unsigned>(frames * channels * 2);
    fwrite("RIFF", 1, 4, f);
    put32(f, 36 + dataBytes);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1); // PCM
    put16(f, channels);
    put32(f, static_cast<unsigned>(rate));
    put32(f, static_cast<unsigned>(rate * channels * 2));
    put16(f, channels * 2);
    put16(f, 16);
    fwrite("data", 1, 4, f);
    put32(f, dataBytes);
    std::vector<int16_t> block(static_cast<size_t>(4096) * channels, 0);
    for (long long done = 0; done < frames;) {
        const long long n = std::min<long long>(4096, frames - done);
        if (loaded) {
            music->readFrames(first + done, n, block.data());
        }
        fwrite(block.data(), sizeof(int16_t), static_cast<size_t>(n * channels), f);
        done += n;
    }
    const bool ok = fclose(f) == 0;
    if (!ok) {
        error = "cannot write " + wavPath;
    }
    return ok;
}

std::vector<std::string> VideoEncoder::encodeArguments(int height, bool lossless,
                                                       const std::string& file) {
    const VideoColour colour = VideoColour::forHeight(height);
    std::vector<std::string> args;
    if (lossless) {
        // RGB as read back, bit for bit: FFV1 version 3, every frame a key frame, range coded
        // (a quarter smaller than Golomb-Rice for half as much time again) in checksummed
        // slices; RGB needs no matrix, primaries and transfer are those of the H.264 file. FLAC.
        args = {"-vf", "vflip", "-pix_fmt", "bgr0", "-c:v", "ffv1", "-level", "3", "-g", "1"};
        args.insert(args.end(), {"-coder", "1", "-slices", "4", "-slicecrc", "1"});
        args.insert(args.end(), {"-colorspace", "rgb", "-color_range", "pc", "-c:a", "flac"});
    } else {
        // Converted already, with the matrix the tags name: ffmpeg's scaler has nothing to do.
        args = {"-pix_fmt", "yuv420p", "-c:v", "libx264", "-preset", H264_PRESET, "-crf", "18"};
        args.insert(args.end(), {"-colorspace", colour.space, "-color_range", "tv"});
        // The conversion sites each chroma sample at the centre of its 2 x 2 pixels, as ffmpeg's
        // scaler does; H.264 without this tag means left, half a pixel off.
        args.insert(args.end(), {"-chroma_sample_location", "center"});
        args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
        const std::string ext = extensionOf(file);
        if (ext == "mp4" || ext == "mov" || ext == "m4v") {
            args.insert(args.end(), {"-movflags", "+faststart"});
        }
    }
    args.insert(args.end(), {"-color_primaries", colour.primaries, "-color_trc", colour.transfer});
    return args;
}

bool VideoEncoder::open(const std::string& file, int fps, int width, int height, bool lossless,
                        const Music* music, long long audioFirst, long long audioFrames,
                        std::string& error) {
    target = file;
    partial = partialName(file);
    wavPath = file + ".soundtrack.wav";
    if (!writeWav(music, audioFirst, audioFrames, error)) {
        abort();
        return false;
    }

    // Raw frames on the pipe, the sound from the WAV.
    std::vector<std::string> args = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-y"};
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const char* format = lossless ? "rgba" : "yuv420p";
    frameBytes = lossless ? static_cast<size_t>(width) * height * 4
                          : static_cast<size_t>(width) * height +
                                2 * (static_cast<size_t>(width / 2) * (height / 2));
    args.insert(args.end(), {"-f", "rawvideo", "-pix_fmt", format, "-video_size", size});
    args.insert(args.end(), {"-framerate", std::to_string(fps), "-i", "pipe:0"});
    args.insert(args.end(), {"-i", wavPath, "-map", "0:v", "-map", "1:a"});
    for (const std::string& a : encodeArguments(height, lossless, file)) {
        args.push_back(a);
    }
    args.push_back(partial);
    if (!ffmpeg.start(args, error)) {
        abort();
        return false;
    }
    running = true;
    return true;
}

bool VideoEncoder::writeFrame(const uint8_t* frame) {
    return running && ffmpeg.write(frame, frameBytes);
}

bool VideoEncoder::finish(std::string& error) {
    const bool encoded = running && ffmpeg.finish();
    running = false;
    if (!encoded) {
        error = "ffmpeg failed to encode " + target;
        abort();
        return false;
    }
    // Replaces an older file of that name on every platform.
    std::error_code moved;
    std::filesystem::rename(partial, target, moved);
    if (moved) {
        error = "cannot move the video into place at " + target + ": " + moved.message();
        abort();
        return false;
    }
    remove(wavPath.c_str());
    partial.clear();
    wavPath.clear();
    return true;
}

void VideoEncoder::abort() {
    ffmpeg.kill();
    running = false;
    if (!partial.empty()) {
        remove(partial.c_str());
        partial.clear();
    }
    if (!wavPath.empty()) {
        remove(wavPath.c_str());
        wavPath.clear();
    }
}
