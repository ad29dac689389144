// Writes captured frames on a thread of its own, so that PNG encoding or a
// full pipe to ffmpeg does not hold up rendering.
//
// Use (render thread):
//   FrameWriter writer(sink, capacity);   starts the writer thread; at most
//                              `capacity` frames (at least one) wait in memory.
//   writer.push(n, rgb, error)  hands frame n over; blocks only while the queue
//                              is full. false once a write has failed: error
//                              holds the sink's message, the frames after the
//                              failed one are dropped, and the capture stops.
//   writer.finish(error)       writes what is queued, stops the thread; false
//                              (error) when a write failed. Call it once,
//                              before sink.finish(); the destructor calls it
//                              when it was not.
//   written(), waitSeconds(), writeSeconds()   frames written; time push()
//                              spent blocked on a full queue; time the thread
//                              spent in sink.write().
// Frames reach the sink in the order pushed, each exactly once, from the one
// writer thread.
#pragma once

#include "FrameSink.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Capture {

class FrameWriter {
public:
    FrameWriter(FrameSink& sink, std::size_t capacity);
    ~FrameWriter();
    FrameWriter(const FrameWriter&) = delete;
    FrameWriter& operator=(const FrameWriter&) = delete;

    bool push(long n, std::vector<std::uint8_t> rgb, std::string& error);
    bool finish(std::string& error);

    long written() const;
    double waitSeconds() const { return waited; }
    double writeSeconds() const;

private:
    struct Frame {
        long n;
        std::vector<std::uint8_t> rgb;
    };
    void work();

    FrameSink& sink;
    const std::size_t capacity;
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::deque<Frame> queue;
    bool closing = false;
    bool failed = false;
    std::string failure;
    long writtenFrames = 0;
    double writing = 0.0;  // seconds in sink.write, on the writer thread
    double waited = 0.0;   // seconds push() blocked, on the render thread
    std::thread thread;
};

}  // namespace Capture
