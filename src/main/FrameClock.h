// The frame grid of exact frames (the tools', the page's test mode): frame k of a run at fps
// frames a second is drawn at the tick round(k * 1000 / fps) ms of ManualTick, and the demo's
// start-up takes no time on it.
#pragma once

class FrameClock {
  public:
    // The grid's rate unless a tool is told another: the page's test mode, the preview and
    // the capture's default.
    static constexpr int DEFAULT_FPS = 60;

    explicit FrameClock(int fps) : fps(fps) {}

    // Makes ManualTick the Timer's tick source, at 0: the start-up that follows runs at tick 0,
    // so the clocks built there start where the shared timer does.
    static void install();

    long long tickOf(long long frame) const;
    // The slot the shared timer, started at tick 0, shows at a tick, or SLOT_COUNT at the end.
    static int slotOfTick(long long tick);
    int slotOfFrame(long long frame) const { return slotOfTick(tickOf(frame)); }
    // The first frame of frame's slot.
    long long firstFrameOfSlot(long long frame) const;
    // The last frame before the timeline ends.
    long long lastFrame() const;
    // The one way a time in seconds names a frame, for every option and key of the tools: the
    // nearest frame, round(seconds * fps), a half rounding away from zero. A span from A to B
    // holds the frames from frameAt(A) up to, not including, frameAt(B).
    long long frameAt(double seconds) const;
    // The frame of a track at rate heard at frame: where the track is placed while it draws.
    long long soundFrameOf(long long frame, int rate) const { return frame * rate / fps; }

    int fps;
};
