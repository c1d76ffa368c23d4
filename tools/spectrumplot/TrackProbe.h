// A decoded MP3 and the 512-entry spectrum at any position, computed the way the sound layer does.
#pragma once

#include <string>
#include <vector>

struct kiss_fftr_state;

class TrackProbe {
  public:
    static const int WINDOW = 1024;
    static const int ENTRIES = 512;

    TrackProbe();
    ~TrackProbe();
    TrackProbe(const TrackProbe&) = delete;
    TrackProbe& operator=(const TrackProbe&) = delete;

    // Decodes the whole file (gapless) to 16-bit stereo. False when it cannot be read.
    bool load(const std::string& path);
    long long frames() const { return static_cast<long long>(pcm.size() / 2); }
    int rate() const { return sampleRate; }
    int channels() const { return channelCount; }
    // Nominal bitrate in kbit/s and whether the stream is constant bitrate.
    int bitrate() const { return kbps; }
    bool constantBitrate() const { return cbr; }
    // Interleaved left/right samples.
    const std::vector<short>& samples() const { return pcm; }
    // Spectrum of the 1024 frames that end at `frame` (exclusive): mono (L+R)/2, Hann window,
    // bin k+1 in entry k, magnitude * 2 / sum(window), clamped to [0, 1]; frames before the
    // start count as silence.
    void spectrumAt(long long frame, float out[ENTRIES]) const;

  private:
    std::vector<short> pcm;
    int sampleRate = 0;
    int channelCount = 0;
    int kbps = 0;
    bool cbr = false;
    std::vector<float> window;
    float windowSum = 0.0f;
    kiss_fftr_state* fft = nullptr;
};
