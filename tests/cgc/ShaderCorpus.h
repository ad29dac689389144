// The shader files used as compiler test cases and as seeds of the mutation
// tests: the repository's own, the corpus written in the style of collections
// from elsewhere, and tests/cgc/shaders (entries "vsMain" and "psMain").
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The .cg files of the given directories (relative to the repository root), sorted.
inline std::vector<std::pair<std::string, std::string>> shaderFiles(std::initializer_list<const char*> dirs) {
    std::vector<std::filesystem::path> files;
    for (const char* dir : dirs) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error))
            if (entry.path().extension() == ".cg") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::pair<std::string, std::string>> shaders;
    for (const auto& path : files) shaders.emplace_back(path.string(), readText(path.string()));
    return shaders;
}

inline std::vector<std::pair<std::string, std::string>> repositoryShaders() {
    return shaderFiles({"vessara_data", "data", "tests/cgc/shaders"});
}

// Shaders written in the style of collections from elsewhere: two entries
// main_vertex / main_fragment, #include of tests/cgc/corpus/include.
inline const char* const corpusDir = "tests/cgc/corpus";
inline std::vector<std::pair<std::string, std::string>> corpusFiles() { return shaderFiles({corpusDir}); }

// The corpus files as seeds of the mutation tests, with the entries renamed
// vsMain / psMain; compiled as if they were a file of the corpus directory,
// so their #include lines resolve.
inline std::vector<std::string> corpusSeeds() {
    std::vector<std::string> seeds;
    for (auto [path, text] : corpusFiles()) {
        for (auto [from, to] : {std::pair<std::string, std::string>{"main_vertex", "vsMain"}, {"main_fragment", "psMain"}})
            for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) text.replace(at, from.size(), to);
        seeds.push_back(text);
    }
    return seeds;
}
inline const char* const corpusSeedPath = "tests/cgc/corpus/seed.cg";
