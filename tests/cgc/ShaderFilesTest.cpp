// Every shader the system loads must compile for both profiles and be
// accepted by the GL driver: the .cg files of the repository (picked up at run
// time from vessara_data/ and data/, so files added later are covered) and
// the test shaders of tests/cgc/shaders.
#include "CgTestUtil.h"
#include "ShaderCorpus.h"


using namespace Kestrane::CgCompiler;

namespace {

void expectBuilds(const std::string& name, const std::string& source) {
    SCOPED_TRACE(name);
    Result v = compile(source, Stage::Vertex, "vsMain", "vp_");
    Result f = compile(source, Stage::Fragment, "psMain", "fp_");
    ASSERT_TRUE(v.ok) << v.listing;
    ASSERT_TRUE(f.ok) << f.listing;
    EXPECT_EQ(checkGlsl(v, Stage::Vertex), "");
    EXPECT_EQ(checkGlsl(f, Stage::Fragment), "");
    CgPair pair = buildPair(source);
    EXPECT_TRUE(pair) << pair.error;
}

TEST(CgShaderFiles, EveryRepositoryShaderCompilesForBothProfiles) {
    auto shaders = repositoryShaders();
    ASSERT_FALSE(shaders.empty()) << "no .cg files found in vessara_data/ or data/";
    for (const auto& [path, text] : shaders) expectBuilds(path, text);
}

}  // namespace
