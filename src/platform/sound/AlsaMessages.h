// ALSA's own error lines. SDL probes ALSA's devices when its audio subsystem starts and keeps
// polling them from a thread of its own while the subsystem is up; on a machine without a sound
// card every probe writes several "ALSA lib ..." lines about what our one "Sound is off" line
// already says, with SDL's reason. They are held back except while an audio device is open:
// then ALSA's lines are about the device in use, and pass unchanged.
#pragma once

class AlsaMessages {
  public:
    // Puts our handler in ALSA's place; once a process, before SDL's audio subsystem starts, so
    // that the handler never changes under SDL's threads. Lines are held back from here on.
    static void install();
    // Lets ALSA's lines through while a device is open; holds them back otherwise.
    static void pass(bool deviceOpen);
    // Lines held back since the process began.
    static int heldLines();
};
