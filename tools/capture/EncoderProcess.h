// The encoder as a child process reading our frames on its standard input; one source per
// platform (POSIX spawn, Windows CreateProcess).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class EncoderProcess {
  public:
    EncoderProcess();
    // A child still running is ended.
    ~EncoderProcess();

    EncoderProcess(const EncoderProcess&) = delete;
    EncoderProcess& operator=(const EncoderProcess&) = delete;

    // A child that dies leaves a failed write, not the end of this process; once, before
    // start.
    static void ignoreBrokenPipe();
    // Whether program, looked up on the PATH, starts and exits with status 0 given args.
    static bool runs(const std::vector<std::string>& args);

    // Starts args[0], looked up on the PATH, with a pipe from us as its standard input and our
    // standard output and error; false with the reason when it cannot be started.
    bool start(const std::vector<std::string>& args, std::string& error);
    // Writes all of data to the child's input; false once the child has gone.
    bool write(const void* data, size_t size);
    // Closes the child's input and waits for it: true when it exited with status 0.
    bool finish();
    // Ends the child at once, if there is one.
    void kill();

  private:
    struct Handles;
    Handles* handles;
};
