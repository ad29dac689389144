#include "support/GLTest.h"

#include "kestrane/CgErrorHandler.h"
#include "kestrane/cg/Cg.h"

#include <string>

using namespace Kestrane;

// Compiling a broken program must end the process with the error text and
// the compiler's listing, titled as the handler's report, and a non-zero
// status.
TEST(CgErrorHandlerDeathTest, CompileErrorIsFatalWithListing)
{
    EXPECT_EXIT(
        {
            Context& context = testContext();
            EXPECT_EQ(cgGetErrorCallback(), &CGerror);
            cgCreateProgram(context.cgContext, CG_SOURCE, "float4 vsMain(float4 p : POSITION) : POSITION { return q; }",
                            CG_PROFILE_ARBVP1, "vsMain", nullptr);
            std::exit(0);  // not reached: the handler ends the process
        },
        testing::ExitedWithCode(1), "Kestrane::CGerror: .*\n(.|\n)*q");
}
