// Every shader the system loads must compile for both profiles and be
// accepted by the GL driver: the .cg files of the repository (picked up at run
// time from vessara_data/ and data/, so files added later are covered) and
// the test shaders of tests/cgc/shaders.
#include "CgTestUtil.h"
#include "ShaderCorpus.h"

namespace {

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgShaderFiles = GLTest;

TEST_F(CgShaderFiles, EveryRepositoryShaderCompilesForBothProfiles) {
    auto shaders = repositoryShaders();
    ASSERT_FALSE(shaders.empty()) << "no .cg files found in vessara_data/ or data/";
    for (const auto& [path, text] : shaders) {
        SCOPED_TRACE(path);
        CgPair pair = buildPair(text);  // both profiles, compiled and linked on the driver
        EXPECT_TRUE(pair) << pair.error;
    }
}

}  // namespace
