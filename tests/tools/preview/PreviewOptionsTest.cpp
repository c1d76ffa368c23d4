// The preview's command line: what it accepts, where it starts, and one line for bad input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview/PreviewOptions.h"

namespace {

bool parse(std::vector<std::string> args, PreviewOptions& options, std::string& error) {
    args.insert(args.begin(), "vorrel-preview");
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(&a[0]);
    }
    return options.parse(static_cast<int>(argv.size()), argv.data(), error);
}

TEST(PreviewOptions, StartsAtFromOrAtTheLoopsStart) {
    PreviewOptions options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_EQ(options.startTime(), 0.0);
    EXPECT_FALSE(options.paused);
    EXPECT_FALSE(options.fullScreen);
    EXPECT_FALSE(options.loop);
    EXPECT_EQ(options.shotsDir, ".");

    PreviewOptions looped;
    ASSERT_TRUE(
        parse({"--loop", "10,20.5", "--paused", "--fullscreen", "--shots", "out"}, looped, error));
    EXPECT_TRUE(looped.loop);
    EXPECT_EQ(looped.loopFrom, 10.0);
    EXPECT_EQ(looped.loopTo, 20.5);
    EXPECT_EQ(looped.startTime(), 10.0);
    EXPECT_TRUE(looped.paused);
    EXPECT_TRUE(looped.fullScreen);
    EXPECT_EQ(looped.shotsDir, "out");

    PreviewOptions both;
    ASSERT_TRUE(parse({"--loop", "10,20", "--from", "266"}, both, error));
    EXPECT_EQ(both.startTime(), 266.0);
}

TEST(PreviewOptions, BadInputGivesOneLineNamingIt) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--from", "300"}, "--from needs a time from 0 to 266 seconds, not '300'"},
        {{"--from", "-1"}, "--from needs a time from 0 to 266"},
        {{"--from", "1e400"}, "--from needs a time"},
        {{"--from", "12s"}, "--from needs a time"},
        {{"--from"}, "option --from needs a value"},
        {{"--loop", "5"}, "--loop needs two times from 0 to 266 seconds as A,B, not '5'"},
        {{"--loop", "5,"}, "--loop needs two times"},
        {{"--loop", "a,b"}, "--loop needs two times"},
        {{"--loop", "1,300"}, "--loop needs two times"},
        {{"--loop", "1,2,3"}, "--loop needs two times"},
        {{"--loop", "20,10"}, "--loop 20,10 runs backwards"},
        {{"--loop", "10,10"}, "--loop 10,10 runs backwards"},
        {{"--size", "1024x"}, "--size needs WIDTHxHEIGHT in pixels, each from 1 to 65536, not"},
        {{"--size", "0x600"}, "--size needs WIDTHxHEIGHT"},
        {{"--size", "800x-600"}, "--size needs WIDTHxHEIGHT"},
        {{"--size", "65537x600"}, "--size needs WIDTHxHEIGHT"},
        {{"200"}, "unknown option '200'"},
    };
    for (const auto& c : cases) {
        PreviewOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.first, options, error)) << c.second;
        EXPECT_NE(error.find(c.second), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

} // namespace
