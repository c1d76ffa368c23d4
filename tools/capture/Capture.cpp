// The capture loop: the demo's own start-up and scenes on a clock the tool sets.
#include "Capture.h"

#include <GL/gl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "CatchUp.h"
#include "FrameWriter.h"
#include "VideoEncoder.h"
#include "main/Schedule.h"
#include "platform/sound/SoundSeams.h"
#include "platform/sound/Track.h"

namespace {

// Makes dir and the folders above it; created tells whether dir itself is new.
bool makeFolder(const std::string& dir, bool& created) {
    struct stat info;
    created = stat(dir.c_str(), &info) != 0;
    std::string path;
    size_t begin = 0;
    while (begin <= dir.size()) {
        size_t slash = dir.find('/', begin);
        if (slash == std::string::npos) {
            slash = dir.size();
        }
        path = dir.substr(0, slash);
        if (!path.empty()) {
            std::error_code ignored; // a folder that exists already is fine
            std::filesystem::create_directory(path, ignored);
        }
        begin = slash + 1;
    }
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
    : options(options), clock(options.fps), timeline(), target(), single(nullptr), singleName(),
      video(nullptr), writer(nullptr), stats(), rate(44100), createdFramesDir(false), started(),
      lastProgress() {}

Capture::~Capture() {
    delete writer; // first: it may still be feeding the encoder
    delete video;
}

bool Capture::checkOutputs(std::string& error) {
    if (!options.scene.empty()) {
        if (!Schedule::isScene(options.scene.c_str())) {
            error = "unknown scene '" + options.scene + "'";
            return false;
        }
    }
    if (!options.framesDir.empty() &&
        (!makeFolder(options.framesDir, createdFramesDir) || !canWriteInto(options.framesDir))) {
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
    target.bind();
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
    return true;
}

void Capture::finishFrame(std::vector<uint8_t>* readInto) {
    if (readInto) {
        // Its own line in the stats: the filter and the read-back grow with the frame's size.
        const auto begin = std::chrono::steady_clock::now();
        target.read(readInto->data());
        stats.add("read-back", std::chrono::duration<double, std::milli>(
                                   std::chrono::steady_clock::now() - begin)
                                   .count());
    }
    SDL_GL_SwapBuffers();
}

void Capture::startWriter() {
    if (!options.framesDir.empty() || video) {
        writer = new FrameWriter(options.framesDir, video, options.width, options.height);
    }
}

int Capture::writeFailed() {
    std::string error;
    writer->finish(error);
    fprintf(stderr, "\nvorrel-capture: %s\n", error.c_str());
    return 1;
}

bool Capture::stopRequested() {
    SDL_Event event;
    bool quit = false;
    while (SDL_PollEvent(&event)) {
        quit = quit || event.type == SDL_QUIT;
    }
    return quit;
}

int Capture::stopped() {
    if (writer) {
        std::string error;
        writer->finish(error);
    }
    fprintf(stderr, "\nvorrel-capture: stopped%s\n", video ? ", no video written" : "");
    return STOPPED;
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
    std::string error;
    const long long first = static_cast<long long>(std::ceil(options.from * options.fps - 1e-9));
    const long long end = static_cast<long long>(std::ceil(options.to * options.fps - 1e-9));
    if (!options.videoFile.empty()) {
        video = new VideoEncoder();
        const Track* track = timeline.music ? timeline.music->track() : nullptr;
        const long long audioFirst = first * rate / options.fps;
        const long long audioEnd = end * rate / options.fps;
        // The output's height chooses the video's colour standard.
        if (!video->open(options.videoFile, options.fps, options.width, options.height,
                         options.lossless, track, audioFirst, audioEnd - audioFirst, error)) {
            fprintf(stderr, "vorrel-capture: %s\n", error.c_str());
            return 1;
        }
    }
    startWriter();
    started = std::chrono::steady_clock::now();
    // Frames of the same slot before the span are drawn, unwritten: scenes set themselves up
    // on their first frame and some keep state from frame to frame.
    for (long long frame = first < end ? firstFrameOfSlot(first) : end; frame < end; ++frame) {
        if (stopRequested()) {
            return stopped();
        }
        if (!drawFrame(frame)) {
            break;
        }
        // Read straight into a writer's buffer: the writer takes it while the next frames draw.
        std::vector<uint8_t>* buffer = frame >= first && writer ? writer->nextBuffer() : nullptr;
        if (frame >= first && writer && !buffer) {
            return writeFailed();
        }
        finishFrame(buffer);
        if (frame >= first) {
            if (buffer) {
                char name[32];
                snprintf(name, sizeof(name), "frame-%06lld.png", frame);
                writer->submit(buffer, frame, name);
            }
            progress(frame - first + 1, end - first, false);
        }
    }
    if (writer && !writer->finish(error)) {
        fprintf(stderr, "\nvorrel-capture: %s\n", error.c_str());
        return 1;
    }
    progress(end - first, end - first, true);
    if (video) {
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
    startWriter();
    // Read into a copy of its own: two times may round to the same frame.
    std::vector<uint8_t> shot(static_cast<size_t>(options.width) * options.height * 4);
    started = std::chrono::steady_clock::now();
    CatchUp catchUp;
    for (size_t i = 0; i < times.size(); ++i) {
        const long long target = clock.frameAt(times[i]);
        for (long long frame = catchUp.firstToDraw(firstFrameOfSlot(target), target);
             frame <= target; ++frame) {
            if (stopRequested()) {
                return stopped();
            }
            if (!drawFrame(frame)) {
                break;
            }
            catchUp.drew(frame);
            finishFrame(frame == target ? &shot : nullptr);
        }
        std::vector<uint8_t>* buffer = writer->nextBuffer();
        if (!buffer) {
            return writeFailed();
        }
        *buffer = shot;
        char name[48];
        snprintf(name, sizeof(name), "t-%07.3f.png", times[i]);
        writer->submit(buffer, target, name);
        progress(static_cast<long long>(i + 1), static_cast<long long>(times.size()), false);
    }
    std::string error;
    if (!writer->finish(error)) {
        fprintf(stderr, "\nvorrel-capture: %s\n", error.c_str());
        return 1;
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
    // The driver's limits are known only now, with the context open.
    if (!target.create(options.width, options.height, options.ssaa, error)) {
        fprintf(stderr, "vorrel-capture: %s\n", error.c_str());
        if (createdFramesDir) {
            rmdir(options.framesDir.c_str()); // only if still empty
        }
        return 2;
    }
    const int status = options.at.empty() ? runSpan() : runAt();
    if (status != 0 && video) {
        // The process ends without deleting the capture: nothing half-written may stay.
        delete writer;
        writer = nullptr;
        video->abort();
    }
    if (options.stats) {
        stats.print(stdout);
    }
    return status;
}
