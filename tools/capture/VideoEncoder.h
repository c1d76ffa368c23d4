// Encodes frames and the soundtrack of the same span into one video file through ffmpeg.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/EncoderProcess.h"

class Music;

class VideoEncoder {
  public:
    VideoEncoder();
    // An encoder still open is aborted: nothing half-written is left behind.
    ~VideoEncoder();

    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Whether ffmpeg on the PATH starts and answers.
    static bool ffmpegAvailable();

    // x264's preset, chosen by measurement (bench/x264-presets.sh): see bench/README.md.
    static constexpr const char* H264_PRESET = "superfast";

    // Writes the track's frames [audioFirst, audioFirst + audioFrames) as WAV (silence where
    // there is no track) and starts ffmpeg reading width x height frames from a pipe: RGBA
    // rows bottom first for the lossless master, yuv420p planes rows top first (converted
    // with the matrix VideoColour gives for the height) for H.264.
    bool open(const std::string& file, int fps, int width, int height, bool lossless,
              const Music* music, long long audioFirst, long long audioFrames, std::string& error);
    // One frame in the format open named.
    bool writeFrame(const uint8_t* frame);
    // Closes the pipe, waits for ffmpeg, and moves the finished file into place.
    bool finish(std::string& error);
    void abort();

    // ffmpeg's options for the output: H.264 (CRF 18, yuv420p as it comes, tagged by the
    // height alone, see VideoColour) and AAC; or, lossless, FFV1 RGB and FLAC.
    static std::vector<std::string> encodeArguments(int height, bool lossless,
                                                    const std::string& file);

  private:
    bool writeWav(const Music* music, long long first, long long frames, std::string& error);

    EncoderProcess ffmpeg;
    bool running;
    size_t frameBytes;
    std::string target;
    std::string partial;
    std::string wavPath;
};
