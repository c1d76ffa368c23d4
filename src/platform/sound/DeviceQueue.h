// What the audio device still holds of the frames handed to it, where the device can tell.
#pragma once

class DeviceQueue {
  public:
    // Seconds of handed-over sound not yet played; false where the device cannot say, and the
    // output then takes the last buffer handed over as the one playing.
    static bool queuedSeconds(double* seconds);
};
