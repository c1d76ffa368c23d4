// Reading the tools' options and their values without the number parsers' leniency.
#include "cli/OptionParser.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "main/Schedule.h"

void OptionParser::flag(const std::string& name, bool* set) {
    entries.push_back(Entry{name, set, nullptr});
}

void OptionParser::option(const std::string& name, Reader read) {
    entries.push_back(Entry{name, nullptr, read});
}

bool OptionParser::parse(int argc, char** argv, std::string& error) const {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        const Entry* entry = nullptr;
        for (const Entry& e : entries) {
            if (e.name == word) {
                entry = &e;
            }
        }
        if (!entry) {
            error = "unknown option '" + word + "'";
            return false;
        }
        if (entry->flag) {
            *entry->flag = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "option " + word + " needs a value";
            return false;
        }
        if (!entry->read(argv[++i], error)) {
            return false;
        }
    }
    return true;
}

bool OptionParser::wantsHelp(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            return true;
        }
    }
    return false;
}

bool OptionParser::number(const std::string& text, double& value) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    errno = 0;
    const double parsed = strtod(text.c_str(), &end);
    if (errno != 0 || *end != '\0' || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

bool OptionParser::time(const std::string& option, const std::string& text, double& seconds,
                        std::string& error) {
    double t = 0.0;
    if (!number(text, t) || t < 0.0 || t > Schedule::END) {
        error = option + " needs a time from " + timelineRange() + " seconds, not '" + text + "'";
        return false;
    }
    seconds = t;
    return true;
}

bool OptionParser::times(const std::string& text, std::vector<double>& values) {
    std::vector<double> read;
    size_t begin = 0;
    while (begin <= text.size()) {
        size_t comma = text.find(',', begin);
        if (comma == std::string::npos) {
            comma = text.size();
        }
        double t = 0.0;
        if (!number(text.substr(begin, comma - begin), t)) {
            return false;
        }
        read.push_back(t);
        begin = comma + 1;
    }
    values = read;
    return true;
}

bool OptionParser::whole(const std::string& option, const std::string& text, int low, int high,
                         int& value, std::string& error) {
    double n = 0.0;
    if (!number(text, n) || n != std::floor(n) || n < low || n > high) {
        error = option + " needs a whole number from " + std::to_string(low) + " to " +
                std::to_string(high) + ", not '" + text + "'";
        return false;
    }
    value = static_cast<int>(n);
    return true;
}

bool OptionParser::size(const std::string& option, const std::string& text, int& width, int& height,
                        std::string& error) {
    long long sides[2] = {0, 0};
    int side = 0;
    int digits = 0;
    bool ok = true;
    for (const char* c = text.c_str(); ok; ++c) {
        if (*c >= '0' && *c <= '9') {
            // Seven digits and more are past any limit: stop before the number overflows.
            ok = ++digits <= 6;
            sides[side] = sides[side] * 10 + (*c - '0');
        } else if ((*c == 'x' && side == 0) || *c == '\0') {
            ok = digits > 0 && sides[side] >= 1 && sides[side] <= MAX_SIDE;
            if (*c == '\0') {
                break;
            }
            side = 1;
            digits = 0;
        } else {
            ok = false;
        }
    }
    if (!ok || side != 1) {
        error = option + " needs WIDTHxHEIGHT in pixels, each from 1 to " +
                std::to_string(MAX_SIDE) + ", not '" + text + "'";
        return false;
    }
    width = static_cast<int>(sides[0]);
    height = static_cast<int>(sides[1]);
    return true;
}

std::string OptionParser::timelineRange() {
    return "0 to " + std::to_string(static_cast<int>(Schedule::END));
}

bool OptionParser::enterDataFolder(const std::string& data, const std::vector<std::string*>& paths,
                                   std::string& error) {
    std::error_code failed;
    for (std::string* path : paths) {
        if (!path->empty()) {
            *path = std::filesystem::absolute(*path, failed).string();
        }
    }
    std::filesystem::current_path(data, failed);
    if (failed) {
        error = "cannot enter the data folder '" + data + "': " + failed.message();
        return false;
    }
    return true;
}
