// Prints the time the start-up takes to turn the data directories' images
// into textures: decode (ImageLoader) plus mipmapped upload (Texture with
// Mipmapped, finished with glFinish), in milliseconds per megapixel. Without
// any images in "data/" and "vessara_data/" it times a few generated ones.
//
// Run from the repository root: build/bench_textures [rounds]
#include <epoxy/gl.h>

#include "kestrane/Context.h"
#include "kestrane/Texture.h"
#include "kestrane_ext/ImageLoader.h"

#include <stb_image_write.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<fs::path> dataImages()
{
    std::vector<fs::path> found;
    for (const char* dir : {"data", "vessara_data"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(dir, error)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".jpg" || ext == ".png"))
                found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Smooth colour fields with some grain, roughly like the generated content.
std::vector<fs::path> generatedImages(const fs::path& dir)
{
    struct GeneratedImage {
        const char* name;
        int w, h, channels;
    };
    const GeneratedImage images[] = {{"gen_1024.jpg", 1024, 1024, 3}, {"gen_512_alpha.png", 512, 512, 4},
                          {"gen_800x600.png", 800, 600, 3}, {"gen_256.jpg", 256, 256, 3}};
    std::vector<fs::path> paths;
    std::uint32_t seed = 12345;
    for (const GeneratedImage& s : images) {
        std::vector<std::uint8_t> pixels;
        for (int y = 0; y < s.h; ++y)
            for (int x = 0; x < s.w; ++x)
                for (int c = 0; c < s.channels; ++c) {
                    seed = seed * 1664525u + 1013904223u;
                    pixels.push_back(static_cast<std::uint8_t>((x * (c + 1) + y * (3 - c)) / 4 + (seed >> 28)));
                }
        const fs::path path = dir / s.name;
        const bool jpeg = path.extension() == ".jpg";
        const int ok = jpeg ? stbi_write_jpg(path.c_str(), s.w, s.h, s.channels, pixels.data(), 90)
                            : stbi_write_png(path.c_str(), s.w, s.h, s.channels, pixels.data(), s.w * s.channels);
        if (!ok) {
            std::fprintf(stderr, "bench_textures: cannot write %s\n", path.c_str());
            std::exit(1);
        }
        paths.push_back(path);
    }
    return paths;
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    Kestrane::Context context(800, 600, 24, 8, 0, 0);

    std::vector<fs::path> images = dataImages();
    fs::path generatedDir;
    if (images.empty()) {
        generatedDir = fs::temp_directory_path() / ("bench_textures-" + std::to_string(getpid()));
        fs::create_directories(generatedDir);
        images = generatedImages(generatedDir);
        std::printf("no images in data/ or vessara_data/: timing %zu generated ones\n", images.size());
    }
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    std::printf("renderer: %s; best of %d rounds\n\n", renderer ? renderer : "?", rounds);
    std::printf("%-28s %11s %10s %10s %10s\n", "image", "size", "decode ms", "upload ms", "ms/MP");

    double totalDecode = 0, totalUpload = 0, totalMegapixels = 0;
    for (const fs::path& path : images) {
        double bestDecode = 1e30, bestUpload = 1e30;
        int w = 0, h = 0;
        for (int round = 0; round < rounds; ++round) {
            const Clock::time_point start = Clock::now();
            KestraneExt::ImageLoader image(KestraneExt::File(path.string(), "rb"));
            const double decode = msSince(start);
            const Clock::time_point uploadStart = Clock::now();
            {
                Kestrane::Texture texture(image, Kestrane::Mipmapped);
                glFinish();
            }
            bestUpload = std::min(bestUpload, msSince(uploadStart));
            bestDecode = std::min(bestDecode, decode);
            w = image.width();
            h = image.height();
        }
        const double megapixels = w * static_cast<double>(h) / 1e6;
        std::printf("%-28s %5dx%-5d %10.2f %10.2f %10.1f\n", path.filename().c_str(), w, h, bestDecode, bestUpload,
                    (bestDecode + bestUpload) / megapixels);
        totalDecode += bestDecode;
        totalUpload += bestUpload;
        totalMegapixels += megapixels;
    }
    std::printf("\n%zu images, %.2f MP: decode %.1f ms, upload %.1f ms, %.1f ms per megapixel\n", images.size(),
                totalMegapixels, totalDecode, totalUpload, (totalDecode + totalUpload) / totalMegapixels);
    if (!generatedDir.empty())
        fs::remove_all(generatedDir);
    return 0;
}
