// The table of Cg intrinsic functions the compiler knows: how the checker
// types a call and how the emitter writes it in GLSL 1.20.
#pragma once

#include <string_view>

namespace Kestrane::CgCompiler {

enum class IntrinsicKind : unsigned char {
    Componentwise,  // float result of the arguments' common shape; args converted to it
    Dot, Cross, Length, Distance, Normalize, Reflect, Refract, FaceForward,
    Mul, Lit, Clip, AnyAll, Determinant, Transpose, SinCos,
    Texture,        // sampler lookups
};

struct IntrinsicInfo {
    const char* name;      // Cg name
    IntrinsicKind kind;
    int arity;
    const char* glsl;      // GLSL function or helper ("kc_..."), "" when written specially
    bool fragmentOnly = false;
    // Texture lookups: sampler type index (0: 1D, 1: 2D, 2: 3D, 3: cube) and the
    // number of coordinate components the call takes.
    int sampler = 0;
    int coordinates = 0;
};

// The intrinsic called name, or null.
const IntrinsicInfo* findIntrinsic(std::string_view name);
const IntrinsicInfo& intrinsicAt(int index);
int intrinsicIndex(const IntrinsicInfo& info);

// GLSL text of the helper function(s) named helper ("kc_fmod", "kc_lit", ...),
// overloaded for every type the helper needs. Empty when unknown.
std::string_view helperSource(std::string_view helper);

}  // namespace Kestrane::CgCompiler
