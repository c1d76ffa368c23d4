// The capture loop: the demo's own start-up and scenes on a clock the tool sets.
#include "Capture.h"

#include <GL/gl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "CatchUp.h"
#include "PngWriter.h"
#include "VideoEncoder.h"
#include "main/Schedule.h"
#include "platform/sound/SoundSeams.h"
#include "platform/sound/Track.h"

namespace {

const int WIDTH = 800;
const int HEIGHT = 600;

bool makeFolder(const std::string& dir) {
    std::string path;
    size_t begin = 0;
    while (begin <= dir.size()) {
        size_t slash = dir.find('/', begin);
        if (slash == std::string::npos) {
            slash = dir.size();
        }
        path = dir.substr(0, slash);
        if (!path.empty()) {
            mkdir(path.c_str(), 0755);
        }
        begin = slash + 1;
    }
    struct stat info;
    return stat(dir.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool canWriteInto(const std::string& dir) {
    const std::string probe = dir + "/.vorrel-capture-probe";
    FILE* f = fopen(probe.c_str(), "wb");
    if (!f) {
        return false;
    }
    fclose(f);
    remove(probe.c_str());
    return true;
}

std::string folderOf(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : file.substr(0, slash));
}

} // namespace

Capture::Capture(const CaptureOptions& options)
    : options(options), clock(options.fps), timeline(), single(nullptr), singleName(),
      video(nullptr), stats(), pixels(static_cast<size_t>(WIDTH) * HEIGHT * 4), rate(44100),
      started(), lastProgress() {}

Capture::~Capture() {
    delete video;
}

bool Capture::checkOutputs(std::string& error) const {
    if (!options.scene.empty()) {
        if (!Schedule::isScene(options.scene.c_str())) {
            error = "unknown scene '" + options.scene + "'";
            return false;
        }
    }
    if (!options.framesDir.empty() &&
        (!makeFolder(options.framesDir) || !canWriteInto(options.framesDir))) {
        error = "cannot write frames into '" + options.framesDir + "'";
        return false;
    }
    if (!options.videoFile.empty()) {
        if (!canWriteInto(folderOf(options.videoFile))) {
            error = "cannot write the video '" + options.videoFile + "'";
            return false;
        }
        if (!VideoEncoder::ffmpegAvailable()) {
            error = "ffmpeg is not installed: it is needed for --video";
            return false;
        }
    }
    return true;
}

void Capture::startTimeline() {
    soundlayer::useManualOutput(true);
    FrameClock::install(); // loading and waiting take no time on it
    char name[] = "vorrel-capture";
    char* argv[] = {name, nullptr};
    const auto begin = std::chrono::steady_clock::now();
    timeline.start(1, argv); // the demo's own start-up, the same scenes in the same order
    stats.loadingSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();

    const Track* track = timeline.music ? timeline.music->track() : nullptr;
    if (track && track->rate > 0) {
        rate = track->rate;
    }
    if (!options.scene.empty()) {
        for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
            if (options.scene == Schedule::slots[slot].name) {
                single = timeline.scenes[slot];
            }
        }
        if (!single) {
            single = Schedule::createScene(options.scene.c_str(), timeline.timer, timeline.music);
        }
        singleName = options.scene;
    }
}

long long Capture::firstFrameOfSlot(long long frame) const {
    return single ? 0 : clock.firstFrameOfSlot(frame);
}

bool Capture::drawFrame(long long frame) {
    FrameClock::setTick(clock.tickOf(frame));
    // Silent: the track stays before its first frame, so every spectrum the scenes read is zero.
    if (!options.silent) {
        soundlayer::setManualPosition(clock.soundFrameOf(frame, rate));
    }
    Timer::update();
    Scene* scene = single;
    std::string name = singleName;
    if (!scene) {
        const int slot = Schedule::slotAt(timeline.timer->getElapsedTime());
        if (slot == Schedule::SLOT_COUNT) {
            return false;
        }
        name = Schedule::slots[slot].name;
        const auto begin = std::chrono::steady_clock::now();
        timeline.renderSlot(slot);
        glFinish();
        stats.add(name, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                  begin)
                            .count());
    } else {
        const auto begin = std::chrono::steady_clock::now();
        Timeline::renderScene(scene, name.c_str());
        glFinish();
        stats.add(name, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                                  begin)
                            .count());
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WIDTH, HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    SDL_GL_SwapBuffers();
    return true;
}

bool Capture::writeFrame(long long frame, const std::string& name) {
    if (!options.framesDir.empty()) {
        if (!PngWriter::write(options.framesDir + "/" + name, pixels, WIDTH, HEIGHT)) {
            fprintf(stderr, "\nvorrel-capture: cannot write frame %lld into '%s'\n", frame,
                    options.framesDir.c_str());
            return false;
        }
    }
    if (video && !video->writeFrame(pixels)) {
        fprintf(stderr, "\nvorrel-capture: ffmpeg stopped taking frames\n");
        return false;
    }
    return true;
}

void Capture::progress(long long done, long long total, bool last) {
    const auto now = std::chrono::steady_clock::now();
    if (!last && now - lastProgress < std::chrono::milliseconds(500)) {
        return;
    }
    lastProgress = now;
    const double seconds = std::chrono::duration<double>(now - started).count();
    const double fps = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
    const double left = fps > 0.0 ? static_cast<double>(total - done) / fps : 0.0;
    fprintf(stderr, "\rvorrel-capture: frame %lld/%lld, %.1f frames/s, %.0f s left   ", done, total,
            fps, left);
    if (last) {
        fprintf(stderr, "\n");
    }
    fflush(stderr);
}

int Capture::runSpan() {
    const long long first = static_cast<long long>(std::ceil(options.from * options.fps - 1e-9));
    const long long end = static_cast<long long>(std::ceil(options.to * options.fps - 1e-9));
    if (!options.videoFile.empty()) {
        std::string error;
        video = new VideoEncoder();
        const Track* track = timeline.music ? timeline.music->track() : nullptr;
        const long long audioFirst = first * rate / options.fps;
        const long long audioEnd = end * rate / options.fps;
        if (!video->open(options.videoFile, options.fps, WIDTH, HEIGHT, track, audioFirst,
                         audioEnd - audioFirst, error)) {
            fprintf(stderr, "vorrel-capture: %s\n", error.c_str());
            return 1;
        }
    }
    started = std::chrono::steady_clock::now();
    // Frames of the same slot before the span are drawn, unwritten: scenes set themselves up
    // on their first frame and some keep state from frame to frame.
    for (long long frame = first < end ? firstFrameOfSlot(first) : end; frame < end; ++frame) {
        if (!drawFrame(frame)) {
            break;
        }
        if (frame >= first) {
            char name[32];
            snprintf(name, sizeof(name), "frame-%06lld.png", frame);
            if (!writeFrame(frame, name)) {
                return 1;
            }
            progress(frame - first + 1, end - first, false);
        }
    }
    progress(end - first, end - first, true);
    if (video) {
        std::string error;
        if (!video->finish(error)) {
            fprintf(stderr, "vorrel-capture: %s\n", error.c_str());
            return 1;
        }
    }
    return 0;
}

int Capture::runAt() {
    std::vector<double> times = options.at;
    std::sort(times.begin(), times.end());
    started = std::chrono::steady_clock::now();
    CatchUp catchUp;
    for (size_t i = 0; i < times.size(); ++i) {
        const long long target = clock.frameAt(times[i]);
        for (long long frame = catchUp.firstToDraw(firstFrameOfSlot(target), target);
             frame <= target; ++frame) {
            if (!drawFrame(frame)) {
                break;
            }
            catchUp.drew(frame);
        }
        char name[48];
        snprintf(name, sizeof(name), "t-%07.3f.png", times[i]);
        if (!writeFrame(target, name)) {
            return 1;
        }
        progress(static_cast<long long>(i + 1), static_cast<long long>(times.size()), false);
    }
    progress(static_cast<long long>(times.size()), static_cast<long long>(times.size()), true);
    return 0;
}

int Capture::run() {
    std::string error;
    if (!checkOutputs(error)) {
        fprintf(stderr, "vorrel-capture: %s\n", error.c_str());
        return 2;
    }
    startTimeline();
    const int status = options.at.empty() ? runSpan() : runAt();
    if (options.stats) {
        stats.print(stdout);
    }
    return status;
}
