// Mixing of the rendered instruments into the finished track.
#include "trackgen/Mixdown.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <utility>

#include "trackgen/Bass.h"
#include "trackgen/Bell.h"
#include "trackgen/Chime.h"
#include "trackgen/Delay.h"
#include "trackgen/HiHat.h"
#include "trackgen/Kick.h"
#include "trackgen/Lead.h"
#include "trackgen/Limiter.h"
#include "trackgen/Pad.h"
#include "trackgen/Pluck.h"
#include "trackgen/Reverb.h"
#include "trackgen/Riser.h"
#include "trackgen/Snare.h"
#include "trackgen/Sparkle.h"

namespace {

// Gain into the limiter.
const float MASTER_DRIVE = 1.4f;

void clear(StereoBuffer& bus) {
    std::fill(bus.left.begin(), bus.left.end(), 0.0f);
    std::fill(bus.right.begin(), bus.right.end(), 0.0f);
}

void duck(StereoBuffer& bus, const std::vector<float>& curve) {
    for (size_t i = 0; i < bus.size(); ++i) {
        bus.left[i] *= curve[i];
        bus.right[i] *= curve[i];
    }
}

} // namespace

StereoBuffer Mixdown::render(const Score& score, float ceiling) const {
    const size_t frames = static_cast<size_t>(TRACK_SECONDS * dsp::SR);
    const std::vector<float> pump = duckCurve(score.kick, frames);
    // The two groups of instruments render on their own threads into their own buses.
    Buses rhythm(frames, false);
    Buses harmony(frames, true);
    std::thread worker([&] { renderHarmony(score, harmony); });
    renderRhythm(score, pump, rhythm);
    worker.join();
    StereoBuffer& master = rhythm.master;
    master.mix(harmony.master, 1.0f);
    rhythm.reverbSend.mix(harmony.reverbSend, 1.0f);
    harmony.master = StereoBuffer(0);

    // Dotted-eighth echoes, then the room over everything sent to it, echoes included.
    StereoBuffer echoes = Delay(static_cast<float>(3.0 * STEP), 0.45f).process(harmony.delaySend);
    master.mix(echoes, 0.5f);
    rhythm.reverbSend.mix(echoes, 0.3f);
    StereoBuffer room = Reverb(0.84f, 0.3f).process(rhythm.reverbSend);
    master.mix(room, 1.0f);

    // Drive into a soft saturation, then the limiter catches what is left: a dense master.
    for (size_t i = 0; i < frames; ++i) {
        master.left[i] = dsp::softClip(master.left[i] * MASTER_DRIVE);
        master.right[i] = dsp::softClip(master.right[i] * MASTER_DRIVE);
    }
    makeRoom(score.room, master);
    // The sparkle joins after the saturation, which would smear its pure partials into
    // distortion across the band; the limiter still has the last word on its peaks.
    Sparkle().render(score.sparkle, master);
    Limiter(ceiling, 0.005f, 0.08f).process(master);
    applyFade(master);
    return std::move(master);
}

void Mixdown::renderRhythm(const Score& score, const std::vector<float>& pump, Buses& out) const {
    StereoBuffer bus(out.master.size());
    Kick().render(score.kick, bus);
    out.route(bus, 0.65f, 0.0f, 0.0f);
    clear(bus);
    Snare().render(score.snare, bus);
    out.route(bus, 0.55f, 0.0f, 0.35f);
    clear(bus);
    HiHat().render(score.hats, bus);
    HiHat().render(score.crash, bus);
    out.route(bus, 0.8f, 0.0f, 0.05f);
    clear(bus);
    Riser().render(score.riser, bus);
    out.route(bus, 0.5f, 0.0f, 0.4f);
    clear(bus);
    Bass(1.0f).render(score.bass, bus);
    duck(bus, pump);
    out.route(bus, 0.75f, 0.0f, 0.0f);
    clear(bus);
    Pad().render(score.pad, bus);
    duck(bus, pump);
    out.route(bus, 0.7f, 0.0f, 0.3f);
}

void Mixdown::renderHarmony(const Score& score, Buses& out) const {
    StereoBuffer bus(out.master.size());
    Lead().render(score.lead, bus);
    out.route(bus, 0.6f, 0.3f, 0.3f);
    clear(bus);
    Pluck().render(score.pluck, bus);
    out.route(bus, 0.5f, 0.35f, 0.2f);
    clear(bus);
    Bell().render(score.bell, bus);
    out.route(bus, 0.5f, 0.25f, 0.4f);
    clear(bus);
    Chime().render(score.chime, bus);
    out.route(bus, 0.7f, 0.15f, 0.2f);
}

std::vector<float> Mixdown::duckCurve(const NoteList& kicks, size_t frames) const {
    // The bass and pads dip under every kick and swell back over the beat: the pump of the groove.
    std::vector<float> curve(frames, 1.0f);
    const int length = static_cast<int>(0.4f * dsp::SR);
    for (const Note& k : kicks) {
        const size_t start = static_cast<size_t>(k.start * dsp::SR + 0.5);
        for (int i = 0; i < length && start + i < frames; ++i) {
            float t = static_cast<float>(i) / dsp::SR;
            float g = 1.0f - 0.6f * k.velocity * std::exp(-t / 0.1f);
            curve[start + i] = std::min(curve[start + i], g);
        }
    }
    return curve;
}

void Mixdown::makeRoom(const NoteList& stretches, StereoBuffer& master) const {
    // 20 ms ramps at either end: under the cuts between sections they are not heard as steps.
    const float ramp = 0.02f * dsp::SR;
    for (const Note& n : stretches) {
        const size_t from = static_cast<size_t>(n.start * dsp::SR + 0.5);
        const size_t to =
            std::min(master.size(), static_cast<size_t>((n.start + n.length) * dsp::SR + 0.5));
        for (size_t i = from; i < to; ++i) {
            const float edge = std::min(static_cast<float>(i - from), static_cast<float>(to - i));
            const float g = edge >= ramp ? n.velocity : 1.0f + (n.velocity - 1.0f) * edge / ramp;
            master.left[i] *= g;
            master.right[i] *= g;
        }
    }
}

void Mixdown::applyFade(StereoBuffer& master) const {
    const size_t from = static_cast<size_t>(FADE_START * dsp::SR);
    const size_t to = static_cast<size_t>(FADE_END * dsp::SR);
    for (size_t i = from; i < master.size(); ++i) {
        float g = 0.0f;
        if (i < to) {
            float x = static_cast<float>(i - from) / static_cast<float>(to - from);
            g = 0.5f + 0.5f * std::cos(dsp::PI_F * x);
        }
        master.left[i] *= g;
        master.right[i] *= g;
    }
}
