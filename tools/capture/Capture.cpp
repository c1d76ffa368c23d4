// The capture loop: the demo's own start-up and scenes on a clock the tool sets.
#include "capture/Capture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "capture/FrameWriter.h"
#include "capture/ProcessorTimes.h"
#include "capture/VideoEncoder.h"
#include "gl/VideoColour.h"
#include "gl/YuvConverter.h"
#include "frames/FrameStepper.h"
#include "cli/PngWriter.h"
#include "main/Schedule.h"

namespace {

// Makes dir and the folders above it; created tells whether dir itself is new.
bool makeFolder(const std::string& dir, bool& created) {
    std::error_code failed;
    created = std::filesystem::create_directories(dir, failed);
    return std::filesystem::is_directory(dir, failed);
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
    const std::filesystem::path parent = std::filesystem::path(file).parent_path();
    return parent.empty() ? "." : parent.string();
}

double msSince(std::chrono::steady_clock::time_point begin) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin)
        .count();
}

} // namespace

Capture::Capture(const CaptureOptions& options)
    : options(options), clock(options.fps), timeline(), target(), stepper(nullptr), single(nullptr),
      video(nullptr), yuv(nullptr), writer(nullptr), stats(), createdFramesDir(false), started(),
      lastProgress() {}

Capture::~Capture() {
    delete writer; // first: it may still be feeding the encoder
    delete yuv;
    delete video;
    delete stepper;
    if (single && !isTimelineScene(single)) {
        delete single;
    }
}

bool Capture::isTimelineScene(const Scene* scene) const {
    for (const Scene* own : timeline.scenes) {
        if (own == scene) {
            return true;
        }
    }
    return false;
}

void Capture::span(const CaptureOptions& options, long long& first, long long& end) {
    const FrameClock clock(options.fps);
    first = clock.frameAt(options.from);
    end = clock.frameAt(options.to);
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
    Music::useManualOutput(true);
    FrameClock::install(); // loading and waiting take no time on it
    const auto begin = std::chrono::steady_clock::now();
    // The demo's own start-up, the same scenes in the same order; the frame is drawn into the
    // render target at any size, the window keeps the demo's.
    timeline.start(RenderScale::WIDTH, RenderScale::HEIGHT, true);
    stats.loadingSeconds = msSince(begin) / 1000.0;

    stepper = new FrameStepper(&timeline, options.fps, !options.silent);
    stepper->beforeFrame = [this] { target.bind(); };
    stepper->everyFrame = options.everyFrame;
    if (!options.scene.empty()) {
        for (int slot = 0; slot < Schedule::SLOT_COUNT; ++slot) {
            if (options.scene == Schedule::slots[slot].name) {
                single = timeline.scenes[slot];
            }
        }
        if (!single) {
            // Made as start-up made the others: the tick is still start-up's.
            single = Schedule::createScene(options.scene.c_str(), timeline.timer, timeline.music);
        }
        stepper->drawOnly(single, options.scene.c_str());
    }
}

bool Capture::drawFrame(long long frame) {
    if (!stepper->seekTo(frame)) {
        return false;
    }
    stats.add(stepper->sceneName(), stepper->targetMs());
    return true;
}

void Capture::finishFrame(std::vector<uint8_t>* readInto) {
    if (readInto) {
        // Their own lines in the stats: the filter, the conversion and the read-back grow with
        // the frame's size.
        auto begin = std::chrono::steady_clock::now();
        const size_t rgbaBytes = writer ? writer->rgbaBytes() : readInto->size();
        if (yuv) {
            target.filter();
            yuv->convert(target.frameBuffer());
            glFinish();
            stats.add("conversion", msSince(begin));
            begin = std::chrono::steady_clock::now();
            yuv->read(readInto->data() + rgbaBytes);
        }
        if (rgbaBytes > 0) {
            target.read(readInto->data());
        }
        stats.add("read-back", msSince(begin));
    }
    SDL_GL_SwapBuffers();
}

void Capture::startWriter() {
    if (!options.framesDir.empty() || video) {
        writer = new FrameWriter(options.framesDir, video, options.width, options.height,
                                 yuv ? yuv->bytes() : 0);
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
    long long first = 0;
    long long end = 0;
    span(options, first, end);
    if (!options.videoFile.empty()) {
        video = new VideoEncoder();
        const int rate = stepper->soundRate();
        const long long audioFirst = clock.soundFrameOf(first, rate);
        const long long audioEnd = clock.soundFrameOf(end, rate);
        // The output's height chooses the video's colour standard.
        if (!video->open(options.videoFile, options.fps, options.width, options.height,
                         options.lossless, timeline.music, audioFirst, audioEnd - audioFirst,
                         error)) {
            fprintf(stderr, "vorrel-capture: %s\n", error.c_str());
            return 1;
        }
        // H.264 takes the frames converted to yuv420p on the GPU; the master keeps RGB.
        const VideoColour colour = VideoColour::forHeight(options.height);
        if (!options.lossless) {
            yuv = new YuvConverter();
            if (!yuv->create(options.width, options.height, colour.kr, colour.kb, error)) {
                fprintf(stderr, "vorrel-capture: %s\n", error.c_str());
                return 1;
            }
        }
    }
    startWriter();
    started = std::chrono::steady_clock::now();
    // The stepper draws the frames of the first one's slot before it unseen, then each in turn.
    for (long long frame = first; frame < end; ++frame) {
        if (stopRequested()) {
            return stopped();
        }
        if (!drawFrame(frame)) {
            break;
        }
        // Read straight into a writer's buffer: the writer takes it while the next frames draw.
        std::vector<uint8_t>* buffer = writer ? writer->nextBuffer() : nullptr;
        if (writer && !buffer) {
            return writeFailed();
        }
        finishFrame(buffer);
        if (buffer) {
            writer->submit(buffer, frame, PngWriter::frameName(frame));
        }
        progress(frame - first + 1, end - first, false);
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
    // Read into a copy of its own: two times may name the same frame, drawn once.
    std::vector<uint8_t> shot(static_cast<size_t>(options.width) * options.height * 4);
    started = std::chrono::steady_clock::now();
    for (size_t i = 0; i < times.size(); ++i) {
        if (stopRequested()) {
            return stopped();
        }
        // A time just before the end names the end itself: the last frame shown is its frame.
        const long long frame = std::min(clock.frameAt(times[i]), clock.lastFrame());
        if (drawFrame(frame)) {
            finishFrame(&shot);
        }
        std::vector<uint8_t>* buffer = writer->nextBuffer();
        if (!buffer) {
            return writeFailed();
        }
        *buffer = shot;
        writer->submit(buffer, frame, PngWriter::shotName(times[i]));
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
            std::error_code ignored;
            std::filesystem::remove(options.framesDir, ignored); // only if still empty
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
        ProcessorTimes::print();
    }
    return status;
}
