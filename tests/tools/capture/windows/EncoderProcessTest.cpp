// The encoder's command line on Windows: arguments with spaces, quotes and backslashes reach the
// child as given, as ffmpeg splits its command line, and so do the bytes written to it. The
// child is ffmpeg.exe's stand-in, found beside this program.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "capture/EncoderProcess.h"

namespace {

TEST(EncoderProcess, ArgumentsAndBytesReachTheChildAsGiven) {
    const std::vector<std::string> args = {"ffmpeg",
                                           "plain",
                                           "with space",
                                           "",
                                           "a \"quoted\" word",
                                           "\"",
                                           "ends in a backslash\\",
                                           "C:\\Program Files\\x264\\",
                                           "\\\\server\\share name\\two\\\\",
                                           "backslashes before a quote\\\\\"",
                                           "tab\there",
                                           "-i",
                                           "C:\\a folder\\demo.soundtrack.wav",
                                           "-y"};
    char folder[MAX_PATH] = "";
    GetTempPathA(sizeof folder, folder);
    const std::string log =
        std::string(folder) + "vq_stand_in_" + std::to_string(GetCurrentProcessId()) + ".txt";
    ASSERT_TRUE(SetEnvironmentVariableA("VQ_STAND_IN_LOG", log.c_str()));
    EncoderProcess child;
    std::string error;
    ASSERT_TRUE(child.start(args, error)) << error;
    const std::string frame(300000, 'y');
    EXPECT_TRUE(child.write(frame.data(), frame.size()));
    EXPECT_TRUE(child.finish());
    SetEnvironmentVariableA("VQ_STAND_IN_LOG", nullptr);

    std::vector<std::string> received;
    FILE* f = fopen(log.c_str(), "rb");
    ASSERT_NE(f, nullptr) << "the stand-in wrote nothing to " << log;
    char line[1024];
    while (fgets(line, sizeof line, f)) {
        std::string s = line;
        received.push_back(s.substr(0, s.size() - 1));
    }
    fclose(f);
    remove(log.c_str());
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0], std::to_string(frame.size()));
    EXPECT_EQ(std::vector<std::string>(received.begin() + 1, received.end()),
              std::vector<std::string>(args.begin() + 1, args.end()));
}

} // namespace
