// Errors of the shader runtime: codes, strings and listings under a counting
// handler, and the engine's handler ending the process on a bad source.
#include <epoxy/gl.h>

#include "ShaderTestSupport.h"
#include "support/TestSupport.h"

#include "kestrane/Context.h"
#include "kestrane/Shader.h"

#include <functional>
#include <string>

using namespace Kestrane;
using namespace ShaderTests;

namespace {

// The error sits on line 4: an undeclared name.
const char* const brokenSource =
    "float4x4 StateComplete;\n"
    "float4 vsMain(float4 position : POSITION) : POSITION\n"
    "{\n"
    "    return mul(StateComplete, positon);\n"
    "}\n"
    "float4 psMain() : COLOR { return float4(1, 1, 1, 1); }\n";

// No "psMain".
const char* const noPixelEntrySource =
    "float4x4 StateComplete;\n"
    "float4 vsMain(float4 position : POSITION) : POSITION\n"
    "{\n"
    "    return mul(StateComplete, position);\n"
    "}\n";

const char* const goodSource =
    "float4 vsMain(float4 position : POSITION) : POSITION { return position; }\n"
    "float4 psMain(uniform float level) : COLOR { return float4(level, 0, 0, 1); }\n";

// Compiles, but the two arrays together exceed what a GL vertex stage holds:
// the driver refuses to link the pair.
const char* const tooManyUniformsSource =
    "float4 first[4096];\n"
    "float4 second[4096];\n"
    "float4 vsMain(float4 p : POSITION) : POSITION\n"
    "{\n"
    "    return p + first[int(p.x)] + second[int(p.y)];\n"
    "}\n"
    "float4 psMain() : COLOR { return float4(1, 1, 1, 1); }\n";

CGcontext cgContext() { return testContext().cgContext; }

class RuntimeErrorTest : public GLTest {};

}  // namespace

// The engine's handler ends the process with the listing: a compile error
// and a missing entry when the shader is made, a link failure at the first draw.
TEST(RuntimeErrorDeathTest, BadShadersEndTheProcessWithTheListing) {
    const struct {
        const char* source;
        const char* message;
    } cases[] = {
        {brokenSource, "Kestrane::CGerror.*4:[0-9]+:.*positon"},
        {noPixelEntrySource, "Kestrane::CGerror.*psMain.*4.*return mul\\(StateComplete, position\\)"},
        {tooManyUniformsSource, "Kestrane::CGerror.*could not link.*5 \\|.*second\\[int"},
    };
    for (const auto& c : cases)
        EXPECT_FATAL(
            {
                testContext();
                CompleteShader shader(c.source, "vsMain", "psMain");
                shader.bind();
                drawFullScreen();
            },
            c.message);
}

TEST_F(RuntimeErrorTest, LinkFailureIsReportedOnceWithBothEntries) {
    CompleteShader shader(tooManyUniformsSource, "vsMain", "psMain");
    CountErrors errors;
    shader.bind();  // binding alone links nothing
    EXPECT_EQ(errors.count(), 0);
    cgGLPrepareDraw();
    EXPECT_EQ(errors.count(), 1);
    EXPECT_EQ(cgGetError(), CG_LINKER_ERROR);
    const std::string listing = cgGetLastListing(cgContext());
    EXPECT_NE(listing.find("\"vsMain\""), std::string::npos) << listing;
    EXPECT_NE(listing.find("\"psMain\""), std::string::npos) << listing;
    EXPECT_EQ(cgGLGetLinkedProgram(), 0u);
    cgGLPrepareDraw();  // the failed pair is not linked again
    EXPECT_EQ(errors.count(), 1);
}

// Each bad call reaches the handler once, inside the call, and leaves its
// code for cgGetError, which then reads no error again.
TEST_F(RuntimeErrorTest, RuntimeErrorsReachTheHandlerInsideTheCall) {
    CGprogram pixel = cgCreateProgram(cgContext(), CG_SOURCE, goodSource, CG_PROFILE_ARBFP1, "psMain", nullptr);
    ASSERT_NE(pixel, nullptr);
    CGparameter level = cgGetNamedParameter(pixel, "level");
    ASSERT_NE(level, nullptr);
    const float matrix[16] = {};
    const CGprofile badProfile = static_cast<CGprofile>(1234);
    const struct {
        std::function<void()> call;
        CGerrorCode code;
    } cases[] = {
        {[] { cgSetParameter1f(nullptr, 1.0f); }, CG_INVALID_PARAM_HANDLE_ERROR},
        {[&] { cgCreateProgram(cgContext(), CG_SOURCE, goodSource, badProfile, "vsMain", nullptr); },
         CG_UNKNOWN_PROFILE_ERROR},
        {[] { cgCreateProgram(cgContext(), CGenum(1), goodSource, CG_PROFILE_ARBVP1, "vsMain", nullptr); },
         CG_INVALID_ENUMERANT_ERROR},
        {[] { cgCreateProgram(nullptr, CG_SOURCE, goodSource, CG_PROFILE_ARBVP1, "vsMain", nullptr); },
         CG_INVALID_CONTEXT_HANDLE_ERROR},
        {[] { cgGLBindProgram(nullptr); }, CG_INVALID_PROGRAM_HANDLE_ERROR},
        {[] { cgGetNamedParameter(nullptr, "x"); }, CG_INVALID_PROGRAM_HANDLE_ERROR},
        {[] { cgGLEnableProfile(static_cast<CGprofile>(42)); }, CG_INVALID_PROFILE_ERROR},
        {[&] { cgSetMatrixParameterfr(level, matrix); }, CG_INVALID_VALUE_TYPE_ERROR},  // not a matrix
        {[&] { cgGLEnableTextureParameter(level); }, CG_INVALID_VALUE_TYPE_ERROR},    // not a sampler
        {[] { EXPECT_EQ(cgCreateProgram(cgContext(), CG_SOURCE, brokenSource, CG_PROFILE_ARBVP1, "vsMain", nullptr),
                        nullptr); },
         CG_COMPILER_ERROR},
        {[] { EXPECT_EQ(cgCreateProgram(cgContext(), CG_SOURCE, goodSource, CG_PROFILE_ARBFP1, "mainPS", nullptr),
                        nullptr); },
         CG_COMPILER_ERROR},  // no such entry
    };
    for (const auto& c : cases) {
        CountErrors errors;
        c.call();
        EXPECT_EQ(errors.count(), 1) << "code " << c.code;
        EXPECT_EQ(cgGetError(), c.code);
        EXPECT_EQ(cgGetError(), CG_NO_ERROR);
    }
    EXPECT_STRNE(cgGetErrorString(CG_COMPILER_ERROR), cgGetErrorString(CG_LINKER_ERROR));
    // A good compile leaves no listing behind for a later error to show.
    ASSERT_NE(cgGetLastListing(cgContext()), nullptr);
    EXPECT_NE(cgCreateProgram(cgContext(), CG_SOURCE, goodSource, CG_PROFILE_ARBVP1, "vsMain", nullptr), nullptr);
    EXPECT_EQ(cgGetLastListing(cgContext()), nullptr);
}
