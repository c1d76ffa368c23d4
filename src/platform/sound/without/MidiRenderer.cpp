// A build without a synthesizer (VQ_WITH_MIDI off): a MIDI song is a file of no known format.
#include "platform/sound/MidiRenderer.h"

const char* const MidiRenderer::SOUNDFONT = "";

bool MidiRenderer::isMidi(const std::vector<unsigned char>&) {
    return false; // nothing here can play it
}

LoadResult MidiRenderer::render(const std::vector<unsigned char>&, Track*) {
    return LoadResult::UNKNOWN_FORMAT;
}
