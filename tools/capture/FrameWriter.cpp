// The capture's writer thread and the frame buffers it shares with the render loop.
#include "capture/FrameWriter.h"

#include "capture/VideoEncoder.h"
#include "cli/PngWriter.h"

FrameWriter::FrameWriter(const std::string& framesDir, VideoEncoder* video, int width, int height,
                         size_t yuvBytes)
    : framesDir(framesDir), video(video), width(width), height(height),
      rgbaSize(
          framesDir.empty() && video && yuvBytes > 0 ? 0 : static_cast<size_t>(width) * height * 4),
      videoOffset(yuvBytes > 0 ? rgbaSize : 0),
      buffers(BUFFERS, std::vector<uint8_t>(rgbaSize + yuvBytes)), mutex(), changed(), idle(),
      queue(), closing(false), failed(false), failure(), thread() {
    for (std::vector<uint8_t>& b : buffers) {
        idle.push_back(&b);
    }
    thread = std::thread(&FrameWriter::run, this);
}

FrameWriter::~FrameWriter() {
    std::string ignored;
    finish(ignored);
}

std::vector<uint8_t>* FrameWriter::nextBuffer() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return failed || !idle.empty(); });
    if (failed) {
        return nullptr;
    }
    std::vector<uint8_t>* buffer = idle.back();
    idle.pop_back();
    return buffer;
}

void FrameWriter::submit(std::vector<uint8_t>* buffer, long long frame,
                         const std::string& fileName) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        queue.push_back(Job{buffer, frame, fileName});
    }
    changed.notify_all();
}

bool FrameWriter::finish(std::string& error) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        closing = true;
    }
    changed.notify_all();
    if (thread.joinable()) {
        thread.join();
    }
    std::lock_guard<std::mutex> lock(mutex);
    error = failure;
    return !failed;
}

void FrameWriter::run() {
    while (true) {
        Job job{nullptr, 0, std::string()};
        bool skip = false;
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [this] { return closing || !queue.empty(); });
            if (queue.empty()) {
                return; // closing, and everything is written
            }
            job = queue.front();
            queue.pop_front();
            skip = failed;
        }
        // Written outside the lock: the render loop goes on meanwhile.
        const bool ok = skip || write(job);
        {
            std::lock_guard<std::mutex> lock(mutex);
            idle.push_back(job.buffer);
            if (!ok && !failed) {
                failed = true;
            }
        }
        changed.notify_all();
    }
}

bool FrameWriter::write(const Job& job) {
    if (!framesDir.empty() &&
        !PngWriter::write(framesDir + "/" + job.fileName, *job.buffer, width, height)) {
        std::lock_guard<std::mutex> lock(mutex);
        failure = "cannot write frame " + std::to_string(job.frame) + " into '" + framesDir + "'";
        return false;
    }
    if (video && !video->writeFrame(job.buffer->data() + videoOffset)) {
        std::lock_guard<std::mutex> lock(mutex);
        failure = "ffmpeg stopped taking frames";
        return false;
    }
    return true;
}
