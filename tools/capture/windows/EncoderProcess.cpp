// The encoder child on Windows: CreateProcess with an anonymous pipe as its standard input.
#include "capture/EncoderProcess.h"

#include <windows.h>

struct EncoderProcess::Handles {
    HANDLE process = nullptr;
    HANDLE input = nullptr;
};

namespace {

// One argument as the C runtime's parser reads it back: quoted when it holds a space, tab or
// quote; backslashes doubled only before a quote.
std::string quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) {
        return arg;
    }
    std::string out = "\"";
    size_t slashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++slashes;
            continue;
        }
        out.append(c == '"' ? slashes * 2 + 1 : slashes, '\\');
        slashes = 0;
        out += c;
    }
    out.append(slashes * 2, '\\');
    return out + "\"";
}

std::string commandLine(const std::vector<std::string>& args) {
    std::string line;
    for (const std::string& a : args) {
        line += (line.empty() ? "" : " ") + quoted(a);
    }
    return line;
}

std::string lastError() {
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   GetLastError(), 0, text, sizeof text, nullptr);
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == '.')) {
        s.pop_back();
    }
    return s;
}

// Starts the command with the given standard input (inheritable) and our output and error.
HANDLE spawn(const std::vector<std::string>& args, HANDLE input, HANDLE output) {
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = input;
    startup.hStdOutput = output;
    startup.hStdError =
        output == GetStdHandle(STD_OUTPUT_HANDLE) ? GetStdHandle(STD_ERROR_HANDLE) : output;
    PROCESS_INFORMATION info;
    ZeroMemory(&info, sizeof info);
    std::string line = commandLine(args);
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &info)) {
        return nullptr;
    }
    CloseHandle(info.hThread);
    return info.hProcess;
}

bool exitedCleanly(HANDLE process) {
    WaitForSingleObject(process, INFINITE);
    DWORD code = 1;
    const bool ok = GetExitCodeProcess(process, &code) && code == 0;
    CloseHandle(process);
    return ok;
}

} // namespace

EncoderProcess::EncoderProcess() : handles(new Handles()) {}

EncoderProcess::~EncoderProcess() {
    kill();
    delete handles;
}

void EncoderProcess::ignoreBrokenPipe() {
    // A write to a pipe whose reader has gone fails with ERROR_NO_DATA: no signal to ignore.
}

bool EncoderProcess::runs(const std::vector<std::string>& args) {
    SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE null =
        CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    if (null == INVALID_HANDLE_VALUE) {
        return false;
    }
    HANDLE process = spawn(args, null, null);
    CloseHandle(null);
    return process && exitedCleanly(process);
}

bool EncoderProcess::start(const std::vector<std::string>& args, std::string& error) {
    SECURITY_ATTRIBUTES inherit = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE read = nullptr;
    HANDLE write = nullptr;
    // A frame is megabytes: a larger pipe takes it in fewer hand-overs.
    if (!CreatePipe(&read, &write, &inherit, 1 << 20)) {
        error = "cannot open a pipe: " + lastError();
        return false;
    }
    // Only the reading end goes to the child: its input ends when we close ours.
    SetHandleInformation(write, HANDLE_FLAG_INHERIT, 0);
    handles->process = spawn(args, read, GetStdHandle(STD_OUTPUT_HANDLE));
    const std::string why = handles->process ? "" : lastError();
    CloseHandle(read);
    if (!handles->process) {
        CloseHandle(write);
        error = "cannot start " + args[0] + ": " + why;
        return false;
    }
    handles->input = write;
    return true;
}

bool EncoderProcess::write(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handles->input, bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool EncoderProcess::finish() {
    if (handles->input) {
        CloseHandle(handles->input);
        handles->input = nullptr;
    }
    if (!handles->process) {
        return false;
    }
    const bool ok = exitedCleanly(handles->process);
    handles->process = nullptr;
    return ok;
}

void EncoderProcess::kill() {
    if (handles->input) {
        CloseHandle(handles->input);
        handles->input = nullptr;
    }
    if (handles->process) {
        TerminateProcess(handles->process, 1);
        exitedCleanly(handles->process);
        handles->process = nullptr;
    }
}
