// A build without ALSA (VQ_WITH_ALSA off): there are no lines to hold back.
#include "platform/sound/AlsaMessages.h"

void AlsaMessages::install() {}

void AlsaMessages::pass(bool) {}

int AlsaMessages::heldLines() {
    return 0;
}
