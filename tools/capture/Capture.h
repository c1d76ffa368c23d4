// Renders the demo's timeline, or one scene, on a virtual clock: frame k is drawn at k / fps
// seconds with the track heard exactly there, and written as PNG files or a video.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/CaptureOptions.h"
#include "capture/FrameStats.h"
#include "capture/RenderTarget.h"
#include "main/FrameClock.h"
#include "main/Timeline.h"

class FrameStepper;
class FrameWriter;
class Scene;
class VideoEncoder;
class YuvConverter;

class Capture {
  public:
    explicit Capture(const CaptureOptions& options);
    ~Capture();

    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    // 0 when everything was written, 2 on bad input, 1 when writing failed on the way,
    // STOPPED after Ctrl-C or a TERM signal (the frames written so far stay, a video does not).
    int run();
    static const int STOPPED = 130;

    // The frames a span of the options holds: [first, end) on the clock's grid.
    static void span(const CaptureOptions& options, long long& first, long long& end);

  private:
    // Checks the scene and that the outputs can be written; makes the frames folder.
    bool checkOutputs(std::string& error);
    void startTimeline();
    int runSpan();
    int runAt();

    // Draws frame k of the timeline (or of the single scene) as a run does, into the render
    // target; false past the timeline's end, or when k is the frame drawn last.
    bool drawFrame(long long frame);
    bool isTimelineScene(const Scene* scene) const;
    // Reads the frame just drawn back into readInto (when given), then swaps as the demo does.
    void finishFrame(std::vector<uint8_t>* readInto);
    // The writer thread, when there is anything to write.
    void startWriter();
    // Reports why the writer stopped; the status of a failed write.
    int writeFailed();
    // Whether Ctrl-C or a TERM signal came: SDL turns them into a quit event, which only a
    // look at the event queue sees.
    static bool stopRequested();
    // Ends the writer after a stop; the status of a stopped run.
    int stopped();
    void progress(long long done, long long total, bool last);

    CaptureOptions options;
    FrameClock clock;
    Timeline timeline;
    RenderTarget target;
    FrameStepper* stepper;
    Scene* single; // --scene: the timeline's own, or one made here
    VideoEncoder* video;
    YuvConverter* yuv; // a video in yuv420p: each frame converted on the GPU
    FrameWriter* writer;
    FrameStats stats;
    bool createdFramesDir; // made by this run: taken away again when the size is refused
    std::chrono::steady_clock::time_point started;
    std::chrono::steady_clock::time_point lastProgress;
};
