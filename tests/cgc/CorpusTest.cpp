// The corpus of shaders written in the style of collections from elsewhere
// (tests/cgc/corpus: two entries main_vertex / main_fragment, shared
// includes) builds both ways: through the Cg runtime (compile, load on the GL
// driver, link the pair) and through the vessara-cgc command.
#include "CgTestUtil.h"
#include "ShaderCorpus.h"
#include "support/TestSupport.h"

#include "kestrane/cg/Cg.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Runs vessara-cgc with arguments; fills its output and error text and returns its exit status.
int runCgc(const std::string& arguments, std::string& out, std::string& err) {
    std::string outPath = testing::TempDir() + "cgc_out.txt", errPath = testing::TempDir() + "cgc_err.txt";
    const std::string command = TestSupport::buildProgram("vessara-cgc") + " " + arguments;
    int status = std::system((command + " >" + outPath + " 2>" + errPath).c_str());
    out = readText(outPath);
    err = readText(errPath);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A GL error raised while a test runs fails it (support/GLTest.h).
using CgCorpus = GLTest;

TEST_F(CgCorpus, EveryCorpusShaderBuildsThroughTheRuntime) {
    ASSERT_TRUE(glHarness()) << "no GL context";
    auto files = corpusFiles();
    ASSERT_GE(files.size(), 4u);
    CGcontext context = cgCreateContext();
    const char* args[] = {"-I", corpusDir, nullptr};
    for (const auto& [path, text] : files) {
        SCOPED_TRACE(path);
        CGprogram vertex = cgCreateProgram(context, CG_SOURCE, text.c_str(), CG_PROFILE_ARBVP1, "main_vertex", args);
        CGprogram fragment = cgCreateProgram(context, CG_SOURCE, text.c_str(), CG_PROFILE_ARBFP1, "main_fragment", args);
        ASSERT_TRUE(vertex && fragment) << cgGetLastListing(context);
        cgGLEnableProfile(CG_PROFILE_ARBVP1);
        cgGLEnableProfile(CG_PROFILE_ARBFP1);
        cgGLBindProgram(vertex);
        cgGLBindProgram(fragment);
        cgGLPrepareDraw();
        EXPECT_EQ(cgGetError(), CG_NO_ERROR) << cgGetLastListing(context);
    }
    cgGLDisableProfile(CG_PROFILE_ARBVP1);
    cgGLDisableProfile(CG_PROFILE_ARBFP1);
}

TEST_F(CgCorpus, VessaraCgcCompilesTheCorpusAndReportsErrors) {
    ASSERT_TRUE(glHarness()) << "no GL context";
    std::string out, err;
    for (const auto& [path, text] : corpusFiles()) {
        for (const char* stage : {"vertex", "fragment"}) {
            SCOPED_TRACE(path + " " + stage);
            int status = runCgc(std::string("--gl --entry main_") + stage + " --stage " + stage + " " + path, out, err);
            EXPECT_EQ(status, 0) << err;
            EXPECT_EQ(out.rfind("#version 120\n", 0), 0u) << out;
        }
    }
    // A fault in an included file is reported on that file's line, with the caret.
    std::string broken = testing::TempDir() + "broken.cg";
    std::string header = testing::TempDir() + "broken_lib.cgh";
    std::ofstream(header) << "float gain()\n{\n    return undefined_gain;\n}\n";
    std::ofstream(broken) << "#include \"broken_lib.cgh\"\nfloat4 main_fragment() : COLOR { return gain(); }\n";
    EXPECT_EQ(runCgc("--entry main_fragment --stage fragment " + broken, out, err), 1);
    EXPECT_EQ(err.rfind(header + ":3:12: error: undeclared identifier 'undefined_gain'\n        return undefined_gain;\n" +
                             std::string(15, ' ') + "^", 0), 0u) << err;
    EXPECT_EQ(out, "");
    // Bad options: status 2, the reason on the first line, then the usage.
    const struct {
        std::string arguments, reason;
    } refused[] = {
        {"--stage geometry --entry main_fragment " + broken, "--stage must be vertex or fragment, not 'geometry'"},
        {"--stage vertex " + broken, "--entry is required"},
        {"--entry main_fragment --stage fragment --frobnicate " + broken, "unknown option '--frobnicate'"},
        {"--entry main_fragment --stage fragment", "no input file"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(runCgc(r.arguments, out, err), 2) << r.arguments;
        EXPECT_EQ(err.rfind("vessara-cgc: " + r.reason + "\nusage: vessara-cgc ", 0), 0u) << err;
        EXPECT_EQ(out, "");
    }
}

}  // namespace
