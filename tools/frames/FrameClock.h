// The tools' virtual clock: frame k of a run at fps frames a second is drawn at the tick
// round(k * 1000 / fps) ms, and the demo's start-up takes no time on it.
#pragma once

class FrameClock {
  public:
    explicit FrameClock(int fps) : fps(fps) {}

    // Makes the virtual tick the Timer's tick source, at 0: the start-up that follows runs at
    // tick 0, so the clocks built there start where the shared timer does.
    static void install();
    // The tick that the next Timer::update samples, in milliseconds.
    static void setTick(long long tick);
    static long long tick();

    long long tickOf(long long frame) const;
    // The slot the shared timer, started at tick 0, shows at a tick, or SLOT_COUNT at the end.
    static int slotOfTick(long long tick);
    int slotOfFrame(long long frame) const { return slotOfTick(tickOf(frame)); }
    // The first frame of frame's slot.
    long long firstFrameOfSlot(long long frame) const;
    // The frame nearest to a time in seconds.
    long long frameAt(double seconds) const;
    // The frame of a track at rate heard at frame: where the capture puts the manual output.
    long long soundFrameOf(long long frame, int rate) const { return frame * rate / fps; }

    int fps;
};
