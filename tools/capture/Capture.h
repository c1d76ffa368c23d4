// Renders the demo's timeline, or one scene, on a virtual clock: frame k is drawn at k / fps
// seconds with the track heard exactly there, and written as PNG files or a video.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "CaptureOptions.h"
#include "FrameClock.h"
#include "FrameStats.h"
#include "main/Timeline.h"

class VideoEncoder;

class Capture {
  public:
    explicit Capture(const CaptureOptions& options);
    ~Capture();

    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // 0 when everything was written, 2 on bad input, 1 when writing failed on the way.
    int run();

  private:
    bool checkOutputs(std::string& error) const;
    void startTimeline();
    int runSpan();
    int runAt();

    // The first frame of frame's slot on the clock (0 for a single scene).
    long long firstFrameOfSlot(long long frame) const;
    // Draws frame k of the timeline (or of the single scene) and reads it back.
    bool drawFrame(long long frame);
    bool writeFrame(long long frame, const std::string& name);
    void progress(long long done, long long total, bool last);

    CaptureOptions options;
    FrameClock clock;
    Timeline timeline;
    Scene* single;
    std::string singleName;
    VideoEncoder* video;
    FrameStats stats;
    std::vector<uint8_t> pixels;
    int rate;
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastProgress;
};
