#include "TestSupport.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace TestSupport {

TempDir::TempDir()
{
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("vessara-test-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const
{
    const std::string path = file(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string buildProgram(const std::string& name)
{
    const char* dir = std::getenv("VESSARA_BUILD_DIR");
    return (std::filesystem::path(dir ? dir : "build") / name).string();
}

ProgramRun runProgram(const std::string& commandLine)
{
    ProgramRun run;
    FILE* pipe = popen((commandLine + " 2>&1").c_str(), "r");
    if (!pipe)
        return run;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool readPng(const std::string& path, Picture& picture, std::string* error)
{
    int channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> data(
        stbi_load(path.c_str(), &picture.width, &picture.height, &channels, 4), stbi_image_free);
    if (!data) {
        if (error)
            *error = path + ": " + (stbi_failure_reason() ? stbi_failure_reason() : "unreadable");
        return false;
    }
    picture.rgba.assign(data.get(), data.get() + static_cast<size_t>(picture.width) * picture.height * 4);
    return true;
}

::testing::AssertionResult picturesMatch(const Picture& got, const Picture& want, int maxChannel, double maxMean)
{
    if (got.width != want.width || got.height != want.height)
        return ::testing::AssertionFailure() << "size " << got.width << "x" << got.height << ", expected "
                                             << want.width << "x" << want.height;
    int worst = 0;
    size_t worstAt = 0;
    double sum = 0.0;
    for (size_t i = 0; i < got.rgba.size(); ++i) {
        const int d = std::abs(int(got.rgba[i]) - int(want.rgba[i]));
        sum += d;
        if (d > worst) {
            worst = d;
            worstAt = i;
        }
    }
    const double mean = got.rgba.empty() ? 0.0 : sum / double(got.rgba.size());
    if (worst <= maxChannel && mean <= maxMean)
        return ::testing::AssertionSuccess();
    const size_t pixel = worstAt / 4;
    return ::testing::AssertionFailure() << "largest channel difference " << worst << " at (" << pixel % got.width
                                         << ", " << pixel / got.width << "), mean difference " << mean
                                         << "; allowed " << maxChannel << " and " << maxMean;
}

Picture shrunk(const std::uint8_t* pixels, int width, int height, int channels, int factor, bool bottomUp)
{
    Picture picture;
    picture.width = width / factor;
    picture.height = height / factor;
    picture.rgba.assign(size_t(picture.width) * picture.height * 4, 255);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            for (int c = 0; c < 3; ++c) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy)
                    for (int dx = 0; dx < factor; ++dx) {
                        const int row = bottomUp ? height - 1 - (y * factor + dy) : y * factor + dy;
                        sum += pixels[(size_t(row) * width + x * factor + dx) * channels + c];
                    }
                picture.rgba[(size_t(y) * picture.width + x) * 4 + c] = uint8_t(sum / (factor * factor));
            }
    return picture;
}

bool writePng(const std::string& path, const Picture& p)
{
    // Alpha is not compared: RGB keeps the references small.
    std::vector<std::uint8_t> rgb;
    for (size_t i = 0; i < p.rgba.size(); i += 4)
        rgb.insert(rgb.end(), p.rgba.begin() + i, p.rgba.begin() + i + 3);
    stbi_write_png_compression_level = 9;
    return stbi_write_png(path.c_str(), p.width, p.height, 3, rgb.data(), p.width * 3) != 0;
}

bool updatingReferences()
{
    const char* update = std::getenv("VESSARA_UPDATE_REFERENCES");
    return update && std::string_view(update) == "1";
}

::testing::AssertionResult matchesReference(const Picture& got, const std::string& path, int maxChannel,
                                            double maxMean)
{
    if (updatingReferences()) {
        if (writePng(path, got))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "cannot write " << path;
    }
    Picture want;
    std::string error;
    if (!readPng(path, want, &error))
        return ::testing::AssertionFailure() << error;
    const auto match = picturesMatch(got, want, maxChannel, maxMean);
    if (match)
        return match;
    const std::string saved =
        (std::filesystem::temp_directory_path() / ("vessara-" + std::filesystem::path(path).filename().string()))
            .string();
    writePng(saved, got);
    return ::testing::AssertionFailure() << path << ": " << match.message() << " (picture written to " << saved << ")";
}

}  // namespace TestSupport
