// The tools' command lines: flags and options of one value each, the readers of the values the
// capture and the preview share (numbers, times on the timeline, sizes), their refusals, and the
// data folder they run in.
#pragma once

#include <functional>
#include <string>
#include <vector>

class OptionParser {
  public:
    // Reads an option's value into its place; false with a one-line reason for a bad one.
    typedef std::function<bool(const std::string& value, std::string& error)> Reader;

    // The largest side a size accepts; the driver's own limits come later, with a context.
    static const int MAX_SIDE = 65536;

    void flag(const std::string& name, bool* set);
    void option(const std::string& name, Reader read);
    // Reads argv[1..] in order; false with a one-line reason at the first bad word.
    bool parse(int argc, char** argv, std::string& error) const;
    // Whether --help or -h stands anywhere in argv.
    static bool wantsHelp(int argc, char** argv);

    // A decimal number, whole and finite, with nothing before or after it.
    static bool number(const std::string& text, double& value);
    // A time on the timeline, from 0 to its end: "--from needs a time from 0 to 266 seconds".
    static bool time(const std::string& option, const std::string& text, double& seconds,
                     std::string& error);
    // Times separated by commas, each a number.
    static bool times(const std::string& text, std::vector<double>& values);
    // A whole number from low to high.
    static bool whole(const std::string& option, const std::string& text, int low, int high,
                      int& value, std::string& error);
    // "WxH": two whole numbers from 1 to MAX_SIDE, nothing else (no sign, space or exponent).
    // Leaves width and height as they were on a refusal.
    static bool size(const std::string& option, const std::string& text, int& width, int& height,
                     std::string& error);
    // "0 to 266": the timeline's range, as the messages give it.
    static std::string timelineRange();

    // The tools read the pictures and the track from a data folder: each of the caller's paths
    // that is relative is made absolute against the folder the command was run from, then the
    // data folder becomes the working folder. False with a reason when it cannot be entered.
    static bool enterDataFolder(const std::string& data, const std::vector<std::string*>& paths,
                                std::string& error);

  private:
    struct Entry {
        std::string name;
        bool* flag;
        Reader read;
    };
    std::vector<Entry> entries;
};
