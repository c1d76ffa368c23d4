// The layer's seams: which output plays, where the manual one is, seeking and pausing the
// playing sound, and overrides of what the layer reports. Music passes them on to the tools;
// the demo's own start-up reads only which output opened (through Music::hasManualOutput).
// Tests of the layer and of the scenes call them directly.
#pragma once

namespace soundlayer {

enum OutputKind { OUTPUT_NONE, OUTPUT_DEVICE, OUTPUT_SILENT, OUTPUT_MANUAL };

// Chooses the manual output for the next initialisation: the caller sets the audible position.
void useManualOutput(bool manual);
// Chooses, for the next initialisation, device buffers of about 23 ms instead of the device's
// own choice (a third of a second on a desktop): seeks are heard sooner, a late wake-up sooner.
void useShortBuffers(bool shortBuffers);
// Audible position of the manual output, in frames of the playing sound.
void setManualPosition(long long frame);
// Which output the initialisation opened.
OutputKind outputKind();
// Frames of the playing sound heard so far by the open output; 0 or less before sound.
long long audibleFrame();
// For tools that seek (the preview): the playing sound plays on from frame, or, paused, is
// held there: nothing is heard and the audible position, and with it the spectrum, stays at
// frame. The manual output's position moves to frame either way.
void seekOutput(long long frame, bool paused);

// One call of the audio device's callback: when it began and ended, steady clock nanoseconds.
struct CallbackTime {
    long long began;
    long long ended;
};
// The latest calls of the device's callback (a thousand at most), oldest first, copied into out;
// how many. None where no device is open. For the benchmarks.
int callbackTimes(CallbackTime* out, int most);

// Test hooks. When non-null, the spectrum is these 512 values instead of the analysis.
void overrideSpectrum(const float* values);
// The version the layer reports; restore with 0.
void overrideVersion(float version);

} // namespace soundlayer
