#include "kestrane/DefaultShader.h"

namespace Kestrane {

CompleteShader* defaultShader = nullptr;

const char* const defaultShaderSource =
    "float4x4 StateComplete;\t"
    "float4 vsMain(float4 pos: POSITION): POSITION\t"
    "{ return mul(StateComplete, pos); }\t"
    "float4 psMain(): COLOR { return float4(1,1,1,1); }";

void createDefaultShader() {
    // Made once per process and kept until exit, like the programs it wraps.
    if (!defaultShader) {
        defaultShader = new CompleteShader(defaultShaderSource, "vsMain", "psMain");
    }
    defaultShader->bind();
}

void useDefaultShader() {
    if (!defaultShader) {
        createDefaultShader();
    }
    defaultShader->bind();
    defaultShader->uploadState();
}

}  // namespace Kestrane
