// Whole-song MIDI rendering to memory, without an audio driver.
#include "platform/sound/MidiRenderer.h"

#include <fluidsynth.h>

#include <cmath>
#include <cstring>

#include "platform/sound/LoadResult.h"
#include "platform/sound/SoundFile.h"

const char* const MidiRenderer::SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2";

namespace {

const int BLOCK_FRAMES = 1024;
// Sound after the player has finished is kept for at most this long, in seconds.
const int TAIL_SECONDS = 3;
// A block whose peak rounds to zero in 16 bits is silence once the song is over.
const float SILENCE = 0.5f / 32767.0f;
// FluidSynth's default gain of 0.2 leaves a General MIDI song far quieter than a mastered
// track; 0.5 still keeps dense songs mostly clear of clipping.
const double GAIN = 0.5;

unsigned int be32(const unsigned char* p) {
    return (static_cast<unsigned int>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

int16_t toSample(float v) {
    const float s = std::round(v * 32767.0f);
    return static_cast<int16_t>(s > 32767.0f ? 32767.0f : (s < -32768.0f ? -32768.0f : s));
}

// Renders one block; returns its peak.
float renderBlock(fluid_synth_t* synth, Track* track) {
    float left[BLOCK_FRAMES];
    float right[BLOCK_FRAMES];
    fluid_synth_write_float(synth, BLOCK_FRAMES, left, 0, 1, right, 0, 1);
    float peak = 0.0f;
    for (int i = 0; i < BLOCK_FRAMES; ++i) {
        track->samples.push_back(toSample(left[i]));
        track->samples.push_back(toSample(right[i]));
        peak = std::fmax(peak, std::fmax(std::fabs(left[i]), std::fabs(right[i])));
    }
    return peak;
}

void renderSong(fluid_synth_t* synth, fluid_player_t* player, Track* track) {
    const long long maxFrames =
        static_cast<long long>(MidiRenderer::MAX_SECONDS) * MidiRenderer::RATE;
    while (fluid_player_get_status(player) == FLUID_PLAYER_PLAYING && track->frames() < maxFrames) {
        renderBlock(synth, track);
    }
    const long long tailEnd = track->frames() + TAIL_SECONDS * MidiRenderer::RATE;
    while (track->frames() < tailEnd && renderBlock(synth, track) >= SILENCE) {
    }
    // The player waits for every voice to die away, long after they fall below 16 bits:
    // the song ends with its last audible frame.
    size_t used = track->samples.size();
    while (used > 0 && track->samples[used - 1] == 0) {
        --used;
    }
    track->samples.resize(used + (used & 1));
}

void silenceLog() {
    for (int level = FLUID_PANIC; level <= FLUID_DBG; ++level) {
        fluid_set_log_function(level, nullptr, nullptr);
    }
}

} // namespace

bool MidiRenderer::isMidi(const std::vector<unsigned char>& data) {
    if (!SoundFile::startsWith(data, "MThd", 4) || data.size() < 14 || be32(&data[4]) < 6) {
        return false;
    }
    const unsigned int tracks = (data[10] << 8) | data[11];
    size_t pos = 8 + static_cast<size_t>(be32(&data[4]));
    unsigned int found = 0;
    while (pos + 8 <= data.size()) {
        const size_t size = be32(&data[pos + 4]);
        if (size > data.size() - pos - 8) {
            return false; // a chunk running past the end of the file
        }
        if (memcmp(&data[pos], "MTrk", 4) == 0) {
            // Every track ends with its end-of-track event; a cut or garbled one does not.
            if (size < 3 || memcmp(&data[pos + 8 + size - 3], "\xFF\x2F\x00", 3) != 0) {
                return false;
            }
            ++found;
        }
        pos += 8 + size;
    }
    return tracks > 0 && found >= tracks && pos == data.size();
}

LoadResult MidiRenderer::render(const std::vector<unsigned char>& data, Track* track) {
    if (!isMidi(data)) {
        return LoadResult::UNKNOWN_FORMAT;
    }
    silenceLog();
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", RATE);
    fluid_settings_setstr(settings, "player.timing-source", "sample");
    fluid_settings_setint(settings, "synth.threadsafe-api", 0);
    fluid_settings_setnum(settings, "synth.gain", GAIN);
    fluid_synth_t* synth = new_fluid_synth(settings);
    LoadResult result = LoadResult::UNREADABLE;
    if (synth && fluid_synth_sfload(synth, SOUNDFONT, 1) != FLUID_FAILED) {
        fluid_player_t* player = new_fluid_player(synth);
        if (player && fluid_player_add_mem(player, data.data(), data.size()) == FLUID_OK &&
            fluid_player_play(player) == FLUID_OK) {
            track->rate = RATE;
            track->channels = 2;
            renderSong(synth, player, track);
            result = track->frames() > 0 ? LoadResult::OK : LoadResult::UNKNOWN_FORMAT;
        }
        if (player) {
            delete_fluid_player(player);
        }
    }
    if (synth) {
        delete_fluid_synth(synth);
    }
    delete_fluid_settings(settings);
    return result;
}
