// Writes captured frames on a thread of its own, in the order they were drawn, so the next
// frames render while the PNG writer and the encoder take this one. A fixed handful of frame
// buffers goes round between the two threads: memory stays bounded however long the capture.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class VideoEncoder;

class FrameWriter {
  public:
    // Frames of width x height RGBA, rows bottom first; PNG files go into framesDir when it is
    // not empty, and every frame to video when it is not null (not owned). With yuvBytes, the
    // video takes the frame's yuv420p planes instead, held after the RGBA (which is then there
    // only for the PNG files).
    FrameWriter(const std::string& framesDir, VideoEncoder* video, int width, int height,
                size_t yuvBytes = 0);
    // Waits for what is queued (see finish).
    ~FrameWriter();

    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    // A buffer to read the next frame into; waits while every buffer is queued. Null once a
    // write has failed: the capture stops there.
    std::vector<uint8_t>* nextBuffer();
    // Queues the buffer nextBuffer gave, to be written as the given frame under fileName.
    void submit(std::vector<uint8_t>* buffer, long long frame, const std::string& fileName);
    // Waits until every queued frame is written and stops the thread; false with the reason
    // when a write failed (the frames after it are dropped).
    bool finish(std::string& error);

    // Where in a buffer the RGBA frame ends and the yuv420p planes begin; 0 when only the
    // planes are wanted.
    size_t rgbaBytes() const { return rgbaSize; }

    // Frames held at most: one being read back, the rest queued or being written.
    static constexpr int BUFFERS = 4;

  private:
    struct Job {
        std::vector<uint8_t>* buffer;
        long long frame;
        std::string fileName;
    };

    void run();
    bool write(const Job& job);

    const std::string framesDir;
    VideoEncoder* const video;
    const int width;
    const int height;
    const size_t rgbaSize;
    const size_t videoOffset; // where the frame the video takes begins in a buffer
    std::vector<std::vector<uint8_t>> buffers;

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::vector<uint8_t>*> idle; // guarded by mutex, as are the members below
    std::deque<Job> queue;
    bool closing;
    bool failed;
    std::string failure;
    std::thread thread; // last: started once everything above is ready
};
