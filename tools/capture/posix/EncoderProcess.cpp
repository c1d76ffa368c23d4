// The encoder child on POSIX systems: posix_spawnp, a pipe and waitpid.
#include "capture/EncoderProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

struct EncoderProcess::Handles {
    pid_t pid = -1;
    int input = -1;
};

namespace {

std::vector<char*> argvOf(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(&a[0]);
    }
    argv.push_back(nullptr);
    return argv;
}

bool exitedCleanly(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            return false;
        }
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

EncoderProcess::EncoderProcess() : handles(new Handles()) {}

EncoderProcess::~EncoderProcess() {
    kill();
    delete handles;
}

void EncoderProcess::ignoreBrokenPipe() {
    signal(SIGPIPE, SIG_IGN);
}

bool EncoderProcess::runs(const std::vector<std::string>& args) {
    std::vector<std::string> copy = args;
    std::vector<char*> argv = argvOf(copy);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 && exitedCleanly(pid);
}

bool EncoderProcess::start(const std::vector<std::string>& args, std::string& error) {
    int fds[2];
    if (pipe(fds) != 0) {
        error = std::string("cannot open a pipe: ") + strerror(errno);
        return false;
    }
    std::vector<std::string> copy = args;
    std::vector<char*> argv = argvOf(copy);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    const int spawned =
        posix_spawnp(&handles->pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    if (spawned != 0) {
        handles->pid = -1;
        close(fds[1]);
        error = "cannot start " + args[0] + ": " + strerror(spawned);
        return false;
    }
    handles->input = fds[1];
    // A frame is megabytes: a larger pipe takes it in fewer hand-overs (best effort).
    fcntl(handles->input, F_SETPIPE_SZ, 1 << 20);
    return true;
}

bool EncoderProcess::write(const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(handles->input, bytes, size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool EncoderProcess::finish() {
    if (handles->input >= 0) {
        close(handles->input);
        handles->input = -1;
    }
    if (handles->pid <= 0) {
        return false;
    }
    const bool ok = exitedCleanly(handles->pid);
    handles->pid = -1;
    return ok;
}

void EncoderProcess::kill() {
    if (handles->input >= 0) {
        close(handles->input);
        handles->input = -1;
    }
    if (handles->pid > 0) {
        ::kill(handles->pid, SIGTERM);
        waitpid(handles->pid, nullptr, 0);
        handles->pid = -1;
    }
}
