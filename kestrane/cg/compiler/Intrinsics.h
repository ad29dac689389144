// The table of Cg intrinsic functions the compiler knows: how the checker
// types a call and how the emitter writes it in GLSL 1.20.
#pragma once

#include <string_view>

namespace Kestrane::CgCompiler {

enum class IntrinsicKind : unsigned char {
    Componentwise,  // float result of the arguments' common shape; args converted to it
    Dot, Cross, Length, Distance, Normalize, Reflect, Refract, FaceForward,
    Mul, Lit, Clip, AnyAll, Determinant, Transpose, SinCos, Modf,
    Texture,        // sampler lookups
};

// Texture lookup families (IntrinsicInfo::form) and, in a checked call's
// Expr::intValue, the variant the arguments select.
enum TextureForm : int { TexPlain, TexProj, TexBias, TexLod, TexFetch, TexSize };
enum TextureVariant : int {
    LookPlain,       // tex2D(s, float2)
    LookShadow,      // tex2D(s, float3): depth compare with .z (tex1D(s, float2) with .y)
    LookGrad,        // tex2D(s, float2, dx, dy)
    LookShadowGrad,  // tex2D(s, float3, dx, dy)
    LookProj,        // tex2Dproj(s, float3): divided by the last component
    LookProjDepth,   // tex2Dproj(s, float4): a depth compare when the sampler is a shadow sampler
    LookBias,        // tex2Dbias(s, float4): level bias in .w
    LookLod,         // tex2Dlod(s, float4): level in .w
    LookFetch,       // tex2Dfetch(s, int4): texel .xy of level .w
    LookSize,        // tex2Dsize(s, int lod): int3 size of that level
    // Added to a variant: an integer texel offset as the last argument.
    LookOffset = 16,
};

struct IntrinsicInfo {
    const char* name;      // Cg name
    IntrinsicKind kind;
    int arity;             // -1: checked by the kind (texture lookups take 2 or 4)
    const char* glsl;      // GLSL function or helper ("kc_..."), "" when written specially
    bool fragmentOnly = false;
    // Texture lookups: sampler type index (0: 1D, 1: 2D, 2: 3D, 3: cube,
    // 4: rectangle) and the number of coordinate components the call takes.
    int sampler = 0;
    int coordinates = 0;   // of the ordinary lookup: 1D 1, 2D and rectangle 2, 3D and cube 3
    int form = TexPlain;
};

// The intrinsic called name, or null.
const IntrinsicInfo* findIntrinsic(std::string_view name);
const IntrinsicInfo& intrinsicAt(int index);
int intrinsicIndex(const IntrinsicInfo& info);

// GLSL text of the helper function(s) named helper ("kc_fmod", "kc_lit", ...),
// overloaded for every type the helper needs. Empty when unknown.
std::string_view helperSource(std::string_view helper);

}  // namespace Kestrane::CgCompiler
