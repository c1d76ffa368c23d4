// ffmpeg.exe's stand-in for the Windows tests: writes what it was given, the bytes on its
// standard input and then its arguments one a line, as ffmpeg itself splits its command line
// (CommandLineToArgvW), to the file VQ_STAND_IN_LOG names; makes an empty file at its last
// argument when that is no option (ffmpeg's output) and exits with status 0.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> argumentsAsFfmpegReadsThem() {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; wide && i < count; ++i) {
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(bytes > 0 ? bytes - 1 : 0, '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &arg[0], bytes, nullptr, nullptr);
        args.push_back(arg);
    }
    LocalFree(wide);
    return args;
}

} // namespace

int main() {
    _setmode(_fileno(stdin), _O_BINARY);
    long long bytes = 0;
    static char block[1 << 16];
    for (size_t n; (n = fread(block, 1, sizeof block, stdin)) > 0;) {
        bytes += static_cast<long long>(n);
    }
    const std::vector<std::string> args = argumentsAsFfmpegReadsThem();
    const char* log = getenv("VQ_STAND_IN_LOG");
    FILE* f = log ? fopen(log, "wb") : nullptr;
    if (f) {
        fprintf(f, "%lld\n", bytes);
        for (const std::string& a : args) {
            fprintf(f, "%s\n", a.c_str());
        }
        fclose(f);
    }
    if (!args.empty() && args.back()[0] != '-') {
        FILE* out = fopen(args.back().c_str(), "wb");
        if (out) {
            fclose(out);
        }
    }
    return 0;
}
