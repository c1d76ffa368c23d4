// The capture's command line and its frame grid: what a span and a time name, and one line for
// bad input.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "capture/Capture.h"
#include "capture/CaptureOptions.h"
#include "cli/OptionParser.h"
#include "main/FrameClock.h"

namespace {

bool parse(std::vector<std::string> args, CaptureOptions& options, std::string& error) {
    args.insert(args.begin(), "vorrel-capture");
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(&a[0]);
    }
    return options.parse(static_cast<int>(argv.size()), argv.data(), error);
}

// The frames [first, end) a span of the command line holds.
std::pair<long long, long long> span(std::vector<std::string> args) {
    CaptureOptions options;
    std::string error;
    EXPECT_TRUE(parse(args, options, error)) << error;
    long long first = -1;
    long long end = -1;
    Capture::span(options, first, end);
    return {first, end};
}

TEST(CaptureOptions, TimesNameTheNearestFrameSpansIncluded) {
    const FrameClock clock(60);
    EXPECT_EQ(clock.frameAt(12.0), 720);
    EXPECT_EQ(clock.frameAt(12.005), 720); // 720.3
    EXPECT_EQ(clock.frameAt(12.009), 721); // 720.54
    EXPECT_EQ(clock.frameAt(0.025), 2);    // 1.5: a half goes up
    EXPECT_EQ(clock.lastFrame(), 15959);   // 266 s is the end, no frame of its own
    EXPECT_EQ(span({}), std::make_pair(0LL, 15960LL));
    EXPECT_EQ(span({"--from", "0.5", "--to", "0.51"}), std::make_pair(30LL, 31LL));
    EXPECT_EQ(span({"--from", "26", "--to", "28"}), std::make_pair(1560LL, 1680LL));
    // The same rule at a rate that does not divide a second: 0.1 s at 24 is frame 2.4.
    EXPECT_EQ(span({"--fps", "24", "--from", "0.1", "--to", "1.03"}), std::make_pair(2LL, 25LL));
    // An empty span and one frame by rounding: to the same frame holds none.
    EXPECT_EQ(span({"--from", "1", "--to", "1.005"}), std::make_pair(60LL, 60LL));
}

TEST(CaptureOptions, BadInputGivesOneLineNamingIt) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--fps", "0"}, "--fps needs a whole number from 1 to 1000, not '0'"},
        {{"--fps", "2.5"}, "--fps needs a whole number"},
        {{"--from", "267"}, "--from needs a time from 0 to 266 seconds, not '267'"},
        {{"--to", "nan"}, "--to needs a time"},
        {{"--from", "20", "--to", "10"}, "is before --from"},
        {{"--at", "1,,2", "--frames", "x"}, "--at needs times in seconds separated by commas"},
        {{"--at", "266", "--frames", "x"}, "is outside 0 to 266 seconds"},
        {{"--at", "1"}, "--at writes single frames and needs --frames DIR"},
        {{"--at", "1", "--frames", "x", "--scene", "Intro"}, "--at cannot be combined"},
        {{"--size", "1920x1080x2"}, "--size needs WIDTHxHEIGHT in pixels, each from 1 to 65536"},
        {{"--size", "1234567x8"}, "--size needs WIDTHxHEIGHT"},
        {{"--ssaa", "5"}, "--ssaa needs a whole number from 1 to 4, not '5'"},
        {{"--video", "a.mp4", "--size", "801x600"}, "needs an even width and height"},
        {{"--lossless"}, "--lossless needs --video FILE.mkv"},
        {{"--lossless", "--video", "a.mp4"}, "must be a .mkv file"},
        {{"--video"}, "option --video needs a value"},
        {{"--frame", "x"}, "unknown option '--frame'"},
    };
    for (const auto& c : cases) {
        CaptureOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.first, options, error)) << c.second;
        EXPECT_NE(error.find(c.second), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(CaptureOptions, TheDataFolderKeepsTheCallersPaths) {
    CaptureOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--data", "/", "--frames", "out", "--video", "/abs/v.mp4"}, options, error));
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof(here)), nullptr);
    std::string paths[] = {options.framesDir, options.videoFile, ""};
    ASSERT_TRUE(
        OptionParser::enterDataFolder(options.dataDir, {&paths[0], &paths[1], &paths[2]}, error));
    char there[4096];
    EXPECT_STREQ(getcwd(there, sizeof(there)), "/");
    EXPECT_EQ(paths[0], std::string(here) + "/out");
    EXPECT_EQ(paths[1], "/abs/v.mp4");
    EXPECT_EQ(paths[2], "");
    EXPECT_FALSE(OptionParser::enterDataFolder("/no/such/folder", {}, error));
    EXPECT_NE(error.find("cannot enter the data folder '/no/such/folder'"), std::string::npos);
    ASSERT_EQ(chdir(here), 0);
}

} // namespace
