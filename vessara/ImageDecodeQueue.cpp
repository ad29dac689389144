#include "vessara/ImageDecodeQueue.h"

#include "kestrane/Messages.h"
#include "kestrane/Platform.h"
#include "kestrane_ext/File.h"
#include "kestrane_ext/ImageLoader.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace Vessara {

namespace {

// The whole file, or false with the reason (the messages File gives).
bool readWhole(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error)
{
    std::FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream) {
        error = "cannot open \"" + path + "\": " + std::strerror(errno);
        return false;
    }
    bool ok = std::fseek(stream, 0, SEEK_END) == 0;
    const long length = ok ? std::ftell(stream) : -1;
    ok = length >= 0 && std::fseek(stream, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(length));
        const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), stream);
        if (got != bytes.size())
            error = "\"" + path + "\": read " + std::to_string(got) + " of " + std::to_string(length) + " bytes";
    } else {
        error = "\"" + path + "\": cannot find its length: " + std::strerror(errno);
    }
    std::fclose(stream);
    return error.empty();
}

}  // namespace

bool decodeImageFile(const std::string& path, int maxSize, DecodedImage& image, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (!readWhole(path, bytes, error))
        return false;
    const KestraneExt::ImageLoader loaded(bytes, error);
    if (!error.empty()) {
        error = "\"" + path + "\": " + error;
        return false;
    }
    image.width = loaded.width();
    image.height = loaded.height();
    image.format = loaded.format();
    image.levels =
        Kestrane::buildMipmapChain(loaded.pixels(), loaded.width(), loaded.height(), loaded.format(), maxSize);
    return true;
}

unsigned ImageDecodeQueue::defaultWorkers()
{
    return Kestrane::workerThreads();
}

ImageDecodeQueue::ImageDecodeQueue(std::vector<std::string> files, unsigned workers, int largest)
    : paths(std::move(files)), maxSize(largest), slots(paths.size())
{
    const std::size_t count = std::min<std::size_t>(workers, paths.size());
    ahead = 2 * std::max<std::size_t>(count, 1);
    for (std::size_t i = 0; i < count; ++i)
        threads.emplace_back(&ImageDecodeQueue::work, this);
}

ImageDecodeQueue::~ImageDecodeQueue()
{
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    finished.notify_all();
    for (std::thread& thread : threads)
        thread.join();
}

void ImageDecodeQueue::work()
{
    for (;;) {
        std::size_t index;
        {
            // Decoded images wait for the uploader at most `ahead` files
            // beyond the one it takes, which bounds their memory.
            std::unique_lock lock(mutex);
            finished.wait(lock, [&] { return stopping || next == paths.size() || next < taken + ahead; });
            if (stopping || next == paths.size())
                return;
            index = next++;
        }
        std::string error;
        DecodedImage image;
        decodeImageFile(paths[index], maxSize, image, error);
        {
            std::lock_guard lock(mutex);
            slots[index].image = std::move(image);
            slots[index].error = std::move(error);
            slots[index].done = true;
        }
        finished.notify_all();
    }
}

DecodedImage ImageDecodeQueue::take(std::size_t index)
{
    if (index >= slots.size())
        return {};
    if (threads.empty() && !slots[index].done) {
        // No workers: the file is decoded now, on the calling thread.
        Slot& slot = slots[index];
        decodeImageFile(paths[index], maxSize, slot.image, slot.error);
        slot.done = true;
    }
    std::unique_lock lock(mutex);
    finished.wait(lock, [&] { return slots[index].done; });
    Slot& slot = slots[index];
    taken = std::max(taken, index + 1);
    finished.notify_all();
    if (!slot.error.empty()) {
        const std::string error = slot.error;
        stopping = true;
        lock.unlock();
        Kestrane::fatal(KestraneExt::FileErrorTitle, error);
    }
    return std::move(slot.image);
}

}  // namespace Vessara
