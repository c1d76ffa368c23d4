// What the audio device holds of the frames handed to it, and how it is fed, where the desktop
// and the page differ.
#pragma once

class DeviceQueue {
  public:
    // Frames of one device buffer at rate for the driver SDL's audio runs on (a power of two,
    // as SDL's dummy driver needs).
    static int bufferFrames(int rate);
    // Frames of a buffer of about 23 ms at rate. A power of two: with 882 frames SDL2's dummy
    // driver (under sdl12-compat) writes past its mixing buffer.
    static int shortBufferFrames(int rate) {
        int frames = 256;
        while (frames * 2 <= rate / 40) {
            frames *= 2;
        }
        return frames;
    }
    // Seconds of handed-over sound not yet played; false where the device cannot say, and the
    // output then estimates it from the buffer just handed over and heldAhead.
    static bool queuedSeconds(double* seconds);
    // Frames of earlier buffers the open device still holds ahead of the one it has just been
    // handed, as far as its driver is known.
    static long long heldAhead(int bufferFrames, int rate);
    // Whether the track is decoded on a thread of its own; else the callback decodes first.
    static bool decodesOnAThread();
};
