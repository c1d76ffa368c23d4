// The track as the demo hears it: loaded and played through Music and the sound layer's manual
// output, so every spectrum read here is the layer's own, at any position we choose.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Music;

class TrackProbe {
  public:
    static const int ENTRIES = 512;

    TrackProbe() = default;
    ~TrackProbe();
    TrackProbe(const TrackProbe&) = delete;
    TrackProbe& operator=(const TrackProbe&) = delete;

    // Loads the file as the demo does (mode MP3) and starts it. False when it does not load.
    // One probe per process: the sound layer is a single global instance.
    bool load(const std::string& path);
    long long frames() const;
    int rate() const;
    int channels() const;
    // Nominal bitrate in kbit/s and whether the stream is constant bitrate (read from the file).
    int bitrate() const { return kbps; }
    bool constantBitrate() const { return cbr; }
    // Interleaved samples as the layer decoded them.
    const std::vector<int16_t>& samples() const;
    // The layer's spectrum with the audible position at `frame`.
    void spectrumAt(long long frame, float out[ENTRIES]) const;

  private:
    void readStreamInfo(const std::string& path);

    Music* music = nullptr;
    std::vector<int16_t> decoded;
    int kbps = 0;
    bool cbr = false;
};
