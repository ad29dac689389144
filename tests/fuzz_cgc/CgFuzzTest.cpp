// Mutation fuzzing of the shader compiler. Environment:
//   VESSARA_FUZZ_SECONDS  run time (default 20)
//   VESSARA_FUZZ_SEED     first random seed (default 1); the run prints it
//   VESSARA_FUZZ_CASE     replay one case of that seed and print its source
#include "cgc/Mutator.h"
#include "cgc/ShaderCorpus.h"

#include "kestrane/cg/compiler/CgCompiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <tuple>

using namespace Kestrane::CgCompiler;

namespace {

long envNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::strtol(value, nullptr, 10) : fallback;
}

// Text of a file with its #include "..." lines replaced by the included
// files (looked up beside the including file), so that a mutant of it is
// self-contained.
std::string inlineIncludes(const std::filesystem::path& file, int depth = 0) {
    std::istringstream in(readText(file.string()));
    std::string out, line;
    while (std::getline(in, line)) {
        size_t hash = line.find_first_not_of(" \t");
        size_t open = line.find('"');
        size_t close = open == std::string::npos ? open : line.find('"', open + 1);
        if (depth < 8 && hash != std::string::npos && line.compare(hash, 8, "#include") == 0 && close != std::string::npos) {
            std::filesystem::path included = file.parent_path() / line.substr(open + 1, close - open - 1);
            if (std::filesystem::exists(included)) {
                out += inlineIncludes(included, depth + 1) + "\n";
                continue;
            }
        }
        out += line + "\n";
    }
    return out;
}

// Programs of the shared corpus of Cg written elsewhere (beside the
// repository), includes inlined and entries renamed vsMain / psMain.
std::vector<std::string> sharedCorpusSeeds() {
    std::vector<std::string> out;
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("../shared/cg-corpus/shaders", error))
        if (entry.path().extension() == ".cg") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::string text = inlineIncludes(path);
        if (text.find("main_vertex") == std::string::npos) continue;
        for (auto [from, to] : {std::pair<std::string, std::string>{"main_vertex", "vsMain"}, {"main_fragment", "psMain"}})
            for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) text.replace(at, from.size(), to);
        out.push_back(std::move(text));
    }
    return out;
}

std::vector<std::string> seeds() {
    std::vector<std::string> out;
    // The repository's own shaders too (the test runs from the repository root).
    for (const auto& [path, text] : repositoryShaders()) out.push_back(text);
    for (const std::string& text : corpusSeeds()) out.push_back(text);
    for (std::string& text : sharedCorpusSeeds()) out.push_back(std::move(text));
    out.emplace_back("float4x4 StateComplete;\tfloat4 vsMain(float4 pos: POSITION): POSITION\t"
                     "{ return mul(StateComplete, pos); }\tfloat4 psMain(): COLOR { return float4(1,1,1,1); }");
    out.emplace_back("#define SCALE(x) ((x) * 2)\n#ifdef SCALE\nstatic const float3 k = {1, 2, 3};\n#endif\n"
                     "float4x4 M; int n;\nstruct S { float2 a : TEXCOORD0; float4 p : POSITION; };\n"
                     "float f(inout float3 v, out float w) { v.zx *= 2; w = v.y; return fmod(v.x, 3); }\n"
                     "S vsMain(float4 p : POSITION, float3 t : TANGENT) { S s; float w; float3 v = t;\n"
                     "  for (int i = 0; i < n; i++) { if (i % 2 == 0) continue; v += f(v, w); }\n"
                     "  s.p = mul(p, M) + (v.x > 0 ? M[1] : M._m00_m01_m02_m03); s.a = v.xy * SCALE(w); return s; }\n"
                     "float4 psMain(S s, uniform sampler2D tex0) : COLOR { float4 c = tex2D(tex0, s.a);\n"
                     "  clip(c.a - 0.5); do { c.rgb = saturate(c.rgb * 2); } while (c.r < 0.5);\n"
                     "  return lerp(c, float4(k, 1), (float)(c > 0.5).x); }\n");
    return out;
}

// A result is well formed: an error with messages and no GLSL, or GLSL with its line map.
void checkResult(const Result& r, const std::string& source) {
    if (!r.ok) {
        ASSERT_FALSE(r.errors.empty()) << source;
        ASSERT_TRUE(r.glsl.empty());
        for (const Diagnostic& d : r.errors) ASSERT_FALSE(d.message.empty()) << source;
        return;
    }
    ASSERT_TRUE(r.glsl.rfind("#version 120\n", 0) == 0 || r.glsl.rfind("#version 300 es\n", 0) == 0) << source;
    size_t lines = 0;
    for (char c : r.glsl) lines += c == '\n';
    ASSERT_EQ(lines, r.glslLineToCgLine.size()) << source;
    ASSERT_NE(r.glsl.find("void main()"), std::string::npos) << source;
}

TEST(CgFuzz, MutatedShadersEndInCleanErrorsOrValidResults) {
    const long seconds = envNumber("VESSARA_FUZZ_SECONDS", 20);
    const long seed = envNumber("VESSARA_FUZZ_SEED", 1);
    const long replay = envNumber("VESSARA_FUZZ_CASE", -1);
    std::vector<std::string> corpus = seeds();
    ShaderMutator mutator(static_cast<uint64_t>(seed));
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    long cases = 0, accepted = 0;
    while (std::chrono::steady_clock::now() < deadline || replay >= cases) {
        std::string source = mutator.mutate(corpus);
        if (replay >= 0 && cases < replay) {
            ++cases;
            continue;
        }
        if (replay >= 0) std::printf("case %ld of seed %ld:\n%s\n", cases, seed, source.c_str());
        Options options;
        options.path = corpusSeedPath;
        Result vertex = compile(source, Stage::Vertex, "vsMain", "vp_", options);
        Result fragment = compile(source, Stage::Fragment, "psMain", "fp_", options);
        checkResult(vertex, source);
        checkResult(fragment, source);
        // The GLSL ES back end rewrites what the first one wrote: it must stay well formed too.
        options.target = Target::Es300;
        for (auto [stage, entry, prefix] : {std::tuple{Stage::Vertex, "vsMain", "vp_"}, std::tuple{Stage::Fragment, "psMain", "fp_"}})
            checkResult(compile(source, stage, entry, prefix, options), source);
        if (HasFatalFailure()) {
            std::printf("failing case %ld of seed %ld\n", cases, seed);
            return;
        }
        accepted += vertex.ok + fragment.ok;
        ++cases;
        if (replay >= 0) break;
    }
    std::printf("%zu seed sources; seed %ld: %ld mutants, %ld translations accepted, in %ld s\n", corpus.size(), seed, cases, accepted, seconds);
    EXPECT_GT(cases, 0);
}

}  // namespace
