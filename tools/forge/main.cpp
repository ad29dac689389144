// forge: makes the show's generated content (textures, meshes, scenes and
// the music) into the data folder, and reports on the music.
//
//   forge [--out DIR] [--only NAME,NAME...] [--force] [--jobs N]
//       make every asset (or the named ones) into DIR (default "data"). A full
//       run records a manifest (the tool's own checksum and every file's size
//       and checksum); when it still matches, nothing is made again.
//   forge --list                    the asset names, one a line
//   forge --icon OUT.png            the program's 256 x 256 icon (Icon.h)
//   forge --report [--mp3 FILE]     the music report of FILE (default data/music.mp3)
//   forge --spectrogram OUT.png [--mp3 FILE]
//   forge --preview MESH.vxm OUT.png [--env PICTURE.jpg] [--planar] [--camera EX,EY,EZ,TX,TY,TZ,FOV]
//       a software rendering of a mesh, shaded like the show's spherical
//       environment mapping (or with a key light), for looking at content
// Exit status: 0 done, 1 an asset or file failed (named on standard error),
// 2 bad arguments.
#include "Content.h"
#include "Icon.h"
#include "Mp3.h"
#include "MusicReport.h"
#include "Output.h"
#include "Preview.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

namespace fs = std::filesystem;
using namespace Forge;

namespace {

struct Options {
    std::string outDir = "data";
    std::vector<std::string> only;
    bool force = false;
    bool list = false;
    bool report = false;
    std::string spectrogram;
    std::string icon;
    std::string mp3;
    std::string previewMesh, previewOut, previewEnv, previewCamera;
    bool planar = false;
    int jobs = 2;
};

int usage(const std::string& why) {
    std::cerr << "forge: " << why << "\n"
              << "usage: forge [--out DIR] [--only NAME,...] [--force] [--jobs N]\n"
              << "       forge --list\n"
              << "       forge --icon OUT.png\n"
              << "       forge --report [--mp3 FILE]\n"
              << "       forge --spectrogram OUT.png [--mp3 FILE]\n"
              << "       forge --preview MESH.vxm OUT.png [--env PICTURE.jpg] [--planar] [--camera EX,EY,EZ,TX,TY,TZ,FOV]\n";
    return 2;
}

std::vector<std::string> splitNames(const std::string& text) {
    std::vector<std::string> names;
    std::stringstream in(text);
    std::string name;
    while (std::getline(in, name, ','))
        if (!name.empty()) names.push_back(name);
    return names;
}

// Checksum of this program's own file: a rebuilt tool makes everything again.
std::string toolChecksum() {
    std::ifstream in("/proc/self/exe", std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return std::to_string(fnv1a64(bytes.data(), bytes.size()));
}

using Manifest = std::map<std::string, std::string>;  // name -> "size checksum"

std::string describe(const std::vector<std::uint8_t>& bytes) {
    return std::to_string(bytes.size()) + " " + std::to_string(fnv1a64(bytes.data(), bytes.size()));
}

bool manifestMatches(const fs::path& dir, const std::string& tool, const std::vector<Asset>& assets) {
    std::ifstream in(dir / ".forge-manifest");
    std::string line;
    if (!std::getline(in, line) || line != "forge " + tool) return false;
    Manifest recorded;
    while (std::getline(in, line)) {
        const auto space = line.find(' ');
        if (space != std::string::npos) recorded[line.substr(0, space)] = line.substr(space + 1);
    }
    for (const Asset& a : assets) {
        const auto it = recorded.find(a.name);
        if (it == recorded.end()) return false;
        std::error_code ec;
        const auto size = fs::file_size(dir / a.name, ec);
        if (ec || std::to_string(size) != it->second.substr(0, it->second.find(' '))) return false;
    }
    return true;
}

int generate(const Options& options) {
    const auto started = std::chrono::steady_clock::now();
    std::vector<Asset> assets = allAssets();
    if (!options.only.empty()) {
        std::vector<Asset> chosen;
        for (const std::string& name : options.only) {
            const auto it = std::find_if(assets.begin(), assets.end(), [&](const Asset& a) { return a.name == name; });
            if (it == assets.end()) return usage("no asset named \"" + name + "\" (see forge --list)");
            chosen.push_back(*it);
        }
        assets = std::move(chosen);
    }
    const fs::path dir(options.outDir);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) {
        std::cerr << "forge: " << dir.string() << ": cannot create the folder: " << ec.message() << "\n";
        return 1;
    }
    const bool full = options.only.empty();
    const std::string tool = toolChecksum();
    if (full && !options.force && manifestMatches(dir, tool, assets)) {
        std::cout << "forge: " << assets.size() << " files in " << dir.string() << " are up to date\n";
        return 0;
    }

    // Assets are independent: a few workers take them in list order (the
    // slowest, the music, comes first). Each file's bytes depend only on its
    // own make function, so the order of completion changes nothing.
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    Manifest manifest;
    int failures = 0;
    auto worker = [&] {
        for (std::size_t i = next++; i < assets.size(); i = next++) {
            const Asset& asset = assets[i];
            const auto t0 = std::chrono::steady_clock::now();
            std::string error;
            bool ok = false;
            std::vector<std::uint8_t> bytes;
            try {
                bytes = asset.make();
                ok = writeOutputFile((dir / asset.name).string(), bytes, &error);
            } catch (const std::exception& e) {
                error = asset.name + ": " + e.what();
            }
            const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            std::lock_guard<std::mutex> guard(lock);
            if (ok) {
                manifest[asset.name] = describe(bytes);
                std::cout << "forge: " << asset.name << " (" << bytes.size() << " bytes, " << std::fixed
                          << std::setprecision(2) << seconds << " s)\n";
            } else {
                ++failures;
                std::cerr << "forge: failed: " << error << "\n";
            }
        }
    };
    std::vector<std::thread> workers;
    const int jobs = std::clamp(options.jobs, 1, 16);
    for (int j = 1; j < jobs; ++j) workers.emplace_back(worker);
    worker();
    for (std::thread& t : workers) t.join();

    if (full && failures == 0) {
        std::ostringstream text;
        text << "forge " << tool << "\n";
        for (const auto& [name, info] : manifest) text << name << " " << info << "\n";
        const std::string s = text.str();
        std::string error;
        if (!writeOutputFile((dir / ".forge-manifest").string(), std::vector<std::uint8_t>(s.begin(), s.end()), &error))
            std::cerr << "forge: warning: " << error << "\n";
    }
    const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::cout << "forge: " << assets.size() - static_cast<std::size_t>(failures) << " of " << assets.size()
              << " files written to " << dir.string() << " in " << std::fixed << std::setprecision(2) << total
              << " s\n";
    return failures == 0 ? 0 : 1;
}

int music(const Options& options) {
    const std::string path = options.mp3.empty() ? (fs::path(options.outDir) / "music.mp3").string() : options.mp3;
    StereoBuffer pcm(0);
    std::string error;
    if (!decodeMp3(path, pcm, &error)) {
        std::cerr << "forge: " << error << "\n";
        return 1;
    }
    const Score score = composeScore();
    if (options.report) printReport(analyseMusic(pcm, score), std::cout);
    if (!options.spectrogram.empty()) {
        if (!writeSpectrogram(pcm, score, options.spectrogram, &error)) {
            std::cerr << "forge: " << error << "\n";
            return 1;
        }
        std::cout << "forge: spectrogram written to " << options.spectrogram << "\n";
    }
    return 0;
}

int preview(const Options& options) {
    try {
        std::ifstream in(options.previewMesh, std::ios::binary);
        if (!in) throw std::runtime_error(options.previewMesh + ": cannot open");
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const std::string name = fs::path(options.previewMesh).filename().string();
        Image env;
        if (!options.previewEnv.empty()) env = loadImage(options.previewEnv);
        PreviewCamera camera = framingCamera(bytes, name);
        if (!options.previewCamera.empty()) {
            float v[7];
            if (std::sscanf(options.previewCamera.c_str(), "%f,%f,%f,%f,%f,%f,%f", &v[0], &v[1], &v[2], &v[3], &v[4],
                            &v[5], &v[6]) != 7)
                throw std::runtime_error("--camera needs seven numbers: EX,EY,EZ,TX,TY,TZ,FOV");
            camera = {{v[0], v[1], v[2]}, {v[3], v[4], v[5]}, {0, 1, 0}, v[6]};
        }
        const Image image = renderPreview(bytes, name, camera, 640, 480, options.previewEnv.empty() ? nullptr : &env,
                                          {0.18f, 0.2f, 0.24f, 1.0f}, options.planar);
        std::string error;
        if (!writeOutputFile(options.previewOut, encodePng(image, false), &error)) throw std::runtime_error(error);
        std::cout << "forge: preview written to " << options.previewOut << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "forge: " << e.what() << "\n";
        return 1;
    }
}

int icon(const Options& options) {
    try {
        std::string error;
        if (!writeOutputFile(options.icon, encodePng(programIcon(256), true), &error))
            throw std::runtime_error(error);
        std::cout << "forge: icon written to " << options.icon << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "forge: " << e.what() << "\n";
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) return false;
            into = argv[++i];
            return true;
        };
        std::string text;
        if (arg == "--out") {
            if (!value(options.outDir)) return usage("--out needs a folder");
        } else if (arg == "--only") {
            if (!value(text)) return usage("--only needs asset names");
            options.only = splitNames(text);
            if (options.only.empty()) return usage("--only needs asset names");
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--jobs") {
            if (!value(text)) return usage("--jobs needs a number");
            options.jobs = std::atoi(text.c_str());
            if (options.jobs < 1) return usage("--jobs needs a positive number");
        } else if (arg == "--list") {
            options.list = true;
        } else if (arg == "--report") {
            options.report = true;
        } else if (arg == "--icon") {
            if (!value(options.icon)) return usage("--icon needs a PNG file name");
        } else if (arg == "--spectrogram") {
            if (!value(options.spectrogram)) return usage("--spectrogram needs a PNG file name");
        } else if (arg == "--preview") {
            if (!value(options.previewMesh) || !value(options.previewOut))
                return usage("--preview needs a mesh file and a PNG file name");
        } else if (arg == "--planar") {
            options.planar = true;
        } else if (arg == "--camera") {
            if (!value(options.previewCamera)) return usage("--camera needs EX,EY,EZ,TX,TY,TZ,FOV");
        } else if (arg == "--env") {
            if (!value(options.previewEnv)) return usage("--env needs an image file");
        } else if (arg == "--mp3") {
            if (!value(options.mp3)) return usage("--mp3 needs a file");
        } else {
            return usage("unknown argument \"" + arg + "\"");
        }
    }
    if (options.list) {
        for (const Asset& a : allAssets()) std::cout << a.name << "\n";
        return 0;
    }
    if (!options.icon.empty()) return icon(options);
    if (options.report || !options.spectrogram.empty()) return music(options);
    if (!options.previewMesh.empty()) return preview(options);
    return generate(options);
}
