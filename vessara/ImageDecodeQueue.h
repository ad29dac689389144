// Decodes image files and builds their mipmap chains on worker threads ahead
// of the thread that uploads them to GL, which takes them back one at a time
// in list order.
//
// Use (start-up loading, GL thread):
//   ImageDecodeQueue queue(paths, workers, maxSize);  starts `workers` threads
//       (none: take() decodes each file itself) that read and decode the files and build each chain
//       (buildMipmapChain; maxSize is GL_MAX_TEXTURE_SIZE), each file once,
//       starting them in list order and at most 2 x workers files ahead of the
//       one taken last (so few decoded images wait in memory at once).
//   queue.take(i)   waits for file i and hands over its size, format and
//       chain for Texture(w, h, format, levels); i = 0, 1, ... in turn.
//       A file that cannot be opened, read or decoded ends the process through
//       the fatal path (Kestrane File Error) with its name and the reason, on
//       the calling thread, when its turn comes.
// The destructor stops the workers (files not yet started are skipped) and
// joins them. Decoding touches no GL and no shared state.
#pragma once

#include "kestrane/Mipmaps.h"

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace Vessara {

struct DecodedImage {
    int width = 0;
    int height = 0;
    Kestrane::PixelFormat format = Kestrane::Rgb;
    std::vector<Kestrane::MipmapLevel> levels;
};

// One file read and decoded, its chain built, on the calling thread; false
// with the reason (naming the file) instead of ending the process: the
// maker's mode reloads a texture this way and keeps the old one on failure.
bool decodeImageFile(const std::string& path, int maxSize, DecodedImage& image, std::string& error);

class ImageDecodeQueue {
public:
    ImageDecodeQueue(std::vector<std::string> paths, unsigned workers, int maxSize);
    ~ImageDecodeQueue();
    ImageDecodeQueue(const ImageDecodeQueue&) = delete;
    ImageDecodeQueue& operator=(const ImageDecodeQueue&) = delete;

    DecodedImage take(std::size_t index);

    // Worker threads for this machine: one per core, none where the
    // platform has no threads (Kestrane::workerThreads).
    static unsigned defaultWorkers();

private:
    struct Slot {
        DecodedImage image;
        std::string error;
        bool done = false;
    };
    void work();

    std::vector<std::string> paths;
    int maxSize;
    std::vector<Slot> slots;
    std::size_t next = 0;   // the next file a worker starts
    std::size_t taken = 0;  // files handed over so far
    std::size_t ahead = 1;  // how far past `taken` workers may start
    bool stopping = false;
    std::mutex mutex;
    std::condition_variable finished;
    std::vector<std::thread> threads;
};

}  // namespace Vessara
