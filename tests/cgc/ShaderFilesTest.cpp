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

TEST(CgShaderFiles, CorpusParametersAreDeclaredByName) {
    const std::string bump = readText("tests/cgc/shaders/specular_bump.cg");
    Result f = compile(bump, Stage::Fragment, "psMain", "fp_");
    ASSERT_TRUE(f.ok) << f.listing;
    for (const char* name : {"tex0", "tex1", "lightPosition", "cameraPosition", "targetPosition", "StateComplete"})
        EXPECT_NE(f.findUniform(name), nullptr) << name;
    EXPECT_TRUE(f.findUniform("tex1")->referenced);
    EXPECT_FALSE(f.findUniform("lightPosition")->referenced);  // used by the vertex program only
    Result v = compile(bump, Stage::Vertex, "vsMain", "vp_");
    ASSERT_TRUE(v.ok) << v.listing;
    EXPECT_TRUE(v.findUniform("lightPosition")->referenced);
    EXPECT_FALSE(v.findUniform("tex0")->referenced);
}

TEST(CgShaderFiles, BlurCorpusShaderAveragesTaps) {
    // The blur's weights sum to 1: a uniform texture blurs to itself (with gamma 1).
    CgPair pair = buildPair(readText("tests/cgc/shaders/directional_blur.cg"));
    ASSERT_TRUE(pair) << pair.error;
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    pair.setMatrixRowMajor("StateComplete", identity);
    pair.setFloat4("pixelStep", 0.01f, 0.0f, 0.0f, 0.0f);
    pair.setFloat("gamma", 1.0f);
    const float grey[4] = {0.5f, 0.25f, 0.75f, 1.0f};
    pair.setTexture("tex0", 0, 1, 1, grey);
    EXPECT_PIXEL(pair.draw(), 0.5, 0.25, 0.75, 1.0);
}

}  // namespace
