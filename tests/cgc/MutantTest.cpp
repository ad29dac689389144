// Mutants of the corpus that the compiler accepts must also be accepted by the
// GL driver: a translation that compiles in Cg but not in GLSL is a compiler
// fault. A fixed number of mutants from a fixed seed, so every machine checks
// the same sources; the unbounded search is the fuzz test.
#include "CgTestUtil.h"
#include "Mutator.h"
#include "ShaderCorpus.h"

#include <cstdio>
#include <cstdlib>

using namespace Kestrane::CgCompiler;

namespace {

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgMutants = GLTest;

TEST_F(CgMutants, AcceptedMutantsCompileOnGl) {
    ASSERT_TRUE(glHarness()) << "no GL context";
    std::vector<std::string> seeds;
    for (const auto& [path, text] : repositoryShaders()) seeds.push_back(text);
    for (const std::string& text : corpusSeeds()) seeds.push_back(text);
    Options options;
    options.path = corpusSeedPath;
    const char* seed = std::getenv("VESSARA_MUTANT_SEED");
    ShaderMutator mutator(seed ? std::strtoull(seed, nullptr, 10) : 7);
    const char* count = std::getenv("VESSARA_MUTANT_COUNT");
    const long mutants = count ? std::atol(count) : 4000;
    int accepted = 0;
    for (long m = 0; m < mutants; ++m) {
        std::string source = mutator.mutate(seeds);
        for (Stage stage : {Stage::Vertex, Stage::Fragment}) {
            Result r = compile(source, stage, stage == Stage::Vertex ? "vsMain" : "psMain", "fp_", options);
            if (!r.ok) continue;
            ++accepted;
            std::string log = checkGlsl(r, stage);
            ASSERT_EQ(log, "") << "Cg source:\n" << source;
        }
    }
    EXPECT_GT(accepted, mutants / 10);
    std::printf("%d accepted translations compiled on GL\n", accepted);
}

}  // namespace
