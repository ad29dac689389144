#include "FrameWriter.h"

#include <algorithm>
#include <chrono>

namespace Capture {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

FrameWriter::FrameWriter(FrameSink& frameSink, std::size_t frames)
    : sink(frameSink), capacity(std::max<std::size_t>(frames, 1)), thread(&FrameWriter::work, this)
{
}

FrameWriter::~FrameWriter()
{
    std::string ignored;
    finish(ignored);
}

bool FrameWriter::push(long n, std::vector<std::uint8_t> rgb, std::string& error)
{
    const auto start = std::chrono::steady_clock::now();
    std::unique_lock lock(mutex);
    changed.wait(lock, [&] { return failed || queue.size() < capacity; });
    waited += secondsSince(start);
    if (failed) {
        error = failure;
        return false;
    }
    queue.push_back({n, std::move(rgb)});
    changed.notify_all();
    return true;
}

void FrameWriter::work()
{
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait(lock, [&] { return closing || !queue.empty(); });
        if (queue.empty())
            return;  // closing, everything written
        // The frame stays queued while it is written, so push() counts it
        // against the capacity.
        Frame& frame = queue.front();
        lock.unlock();
        const auto start = std::chrono::steady_clock::now();
        std::string error;
        const bool ok = sink.write(frame.n, frame.rgb, error);
        const double seconds = secondsSince(start);
        lock.lock();
        writing += seconds;
        queue.pop_front();
        if (!ok) {
            failed = true;
            failure = error;
            queue.clear();
            changed.notify_all();
            return;
        }
        ++writtenFrames;
        changed.notify_all();
    }
}

bool FrameWriter::finish(std::string& error)
{
    {
        std::lock_guard lock(mutex);
        closing = true;
    }
    changed.notify_all();
    if (thread.joinable())
        thread.join();
    if (failed)
        error = failure;
    return !failed;
}

long FrameWriter::written() const
{
    std::lock_guard lock(mutex);
    return writtenFrames;
}

double FrameWriter::writeSeconds() const
{
    std::lock_guard lock(mutex);
    return writing;
}

}  // namespace Capture
