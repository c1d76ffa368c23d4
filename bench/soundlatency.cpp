// How far the sound layer's audible position runs ahead of what a sound server plays: clicks at
// known places of a track, timed when the layer first calls each audible and when it arrives
// in a recording of the server's monitor. bench/soundserver.sh starts the server around it.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Music.h"
#include "platform/sound/SoundSeams.h"
#include "support/SoundFiles.h"

namespace {

const int RATE = 44100;
const int CLICKS = 10;
const int FIRST_CLICK_SECOND = 2;
const int CLICK_FRAMES = 88;        // 2 ms of a loud square wave
const int LOUD = 1000;              // a recorded sample above this is a click
const double POLL_SECONDS = 0.0002; // how often the layer's position is read

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Silence with a click at the start of every second from FIRST_CLICK_SECOND on.
std::vector<int16_t> clickTrack() {
    const int seconds = FIRST_CLICK_SECOND + CLICKS + 1;
    std::vector<int16_t> pcm(static_cast<size_t>(seconds) * RATE * 2, 0);
    for (int c = 0; c < CLICKS; ++c) {
        const long long at = static_cast<long long>(FIRST_CLICK_SECOND + c) * RATE;
        for (int f = 0; f < CLICK_FRAMES; ++f) {
            const int16_t v = (f / 11) % 2 ? 16000 : -16000;
            pcm[2 * (at + f)] = v;
            pcm[2 * (at + f) + 1] = v;
        }
    }
    return pcm;
}

// Reads the recorder's raw output as it comes and times the first loud frame of each click:
// a read that ends at time t held frames that arrived up to t, one frame per 1/RATE s.
void listen(int fd, std::vector<double>* heard, std::atomic<bool>* stop) {
    int16_t buffer[2048];
    long long frame = 0;
    long long lastClick = -RATE;
    while (!stop->load() && static_cast<int>(heard->size()) < CLICKS) {
        const ssize_t got = read(fd, buffer, sizeof(buffer));
        const double at = now();
        if (got <= 0) {
            break;
        }
        const int frames = static_cast<int>(got / 4);
        for (int f = 0; f < frames; ++f) {
            if (abs(buffer[2 * f]) > LOUD && frame + f - lastClick > RATE / 2) {
                lastClick = frame + f;
                heard->push_back(at - static_cast<double>(frames - 1 - f) / RATE);
            }
        }
        frame += frames;
    }
}

// parec on the monitor of the server's sink "vq", its raw output on a pipe; its process id.
pid_t startRecorder(int* fd) {
    int ends[2];
    if (pipe(ends) != 0) {
        return -1;
    }
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(ends[1], STDOUT_FILENO);
        close(ends[0]);
        close(ends[1]);
        // Small fragments: each read returns within a few milliseconds of the server's render.
        execlp("parec", "parec", "--raw", "--format=s16le", "--rate=44100", "--channels=2",
               "--device=vq.monitor", "--latency-msec=2", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[1]);
    *fd = ends[0];
    return pid;
}

} // namespace

int main() {
    const std::string path = soundfiles::tempPath("clicks.wav");
    if (!soundfiles::writeWav(path, clickTrack(), 2, RATE)) {
        fprintf(stderr, "soundlatency: cannot write %s\n", path.c_str());
        return 1;
    }
    int fd = -1;
    const pid_t recorder = startRecorder(&fd);
    if (recorder < 0) {
        fprintf(stderr, "soundlatency: cannot start parec\n");
        return 1;
    }
    std::vector<double> heard;
    std::atomic<bool> stop(false);
    std::thread listener(listen, fd, &heard, &stop);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    Music* music = new Music();
    music->load(path, MP3);
    if (soundlayer::outputKind() != soundlayer::OUTPUT_DEVICE) {
        fprintf(stderr, "soundlatency: no audio device (is SDL_AUDIODRIVER=pulseaudio set?)\n");
        return 1;
    }
    music->play();
    std::vector<double> audible;
    const double start = now();
    while (static_cast<int>(audible.size()) < CLICKS && now() - start < CLICKS + 5) {
        const long long click = static_cast<long long>(FIRST_CLICK_SECOND + audible.size()) * RATE;
        if (soundlayer::audibleFrame() >= click) {
            audible.push_back(now());
        }
        std::this_thread::sleep_for(std::chrono::duration<double>(POLL_SECONDS));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    stop.store(true);
    kill(recorder, SIGTERM); // its pipe closes, which ends the listener's read
    waitpid(recorder, nullptr, 0);
    listener.join();
    close(fd);
    delete music;
    remove(path.c_str());

    if (heard.size() != audible.size() || heard.empty()) {
        fprintf(stderr, "soundlatency: %zu clicks heard, %zu audible\n", heard.size(),
                audible.size());
        return 1;
    }
    std::vector<double> ahead;
    for (size_t c = 0; c < heard.size(); ++c) {
        ahead.push_back((heard[c] - audible[c]) * 1000.0);
        printf("click %zu: heard %.1f ms after the layer called it audible\n", c + 1, ahead.back());
    }
    std::sort(ahead.begin(), ahead.end());
    printf("the audible position runs ahead of the recording by %.1f ms (median of %zu clicks; "
           "%.1f to %.1f)\n",
           ahead[ahead.size() / 2], ahead.size(), ahead.front(), ahead.back());
    return 0;
}
