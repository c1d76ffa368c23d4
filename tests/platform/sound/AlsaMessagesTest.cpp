// ALSA's lines: held back while no device is open, in ALSA's own format while one is.
#include <gtest/gtest.h>

#include <alsa/asoundlib.h>

#include <string>

#include "platform/sound/AlsaMessages.h"

namespace {

// Opens a PCM that no configuration defines: ALSA reports it through its error handler.
std::string openUnknownPcm() {
    testing::internal::CaptureStderr();
    snd_pcm_t* pcm = nullptr;
    const int rc = snd_pcm_open(&pcm, "vq_no_such_pcm", SND_PCM_STREAM_PLAYBACK, 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_LT(rc, 0);
    if (pcm) {
        snd_pcm_close(pcm);
    }
    return err;
}

TEST(AlsaMessages, HeldBackWithoutADeviceAndPassedUnchangedWithOne) {
    // ALSA's default handler, before ours is in place: the line we must reproduce.
    const std::string plain = openUnknownPcm();
    ASSERT_NE(plain.find("Unknown PCM vq_no_such_pcm"), std::string::npos) << plain;

    AlsaMessages::install();
    const int before = AlsaMessages::heldLines();
    EXPECT_EQ(openUnknownPcm(), "");
    EXPECT_EQ(AlsaMessages::heldLines(), before + 1);

    AlsaMessages::pass(true);
    EXPECT_EQ(openUnknownPcm(), plain);
    EXPECT_EQ(AlsaMessages::heldLines(), before + 1);

    AlsaMessages::pass(false);
    AlsaMessages::install(); // a second install changes nothing
    EXPECT_EQ(openUnknownPcm(), "");
    EXPECT_EQ(AlsaMessages::heldLines(), before + 2);
}

} // namespace
