// Shader sources written the way the system's shaders are (full-screen
// effects, lit and textured meshes, particles), used as compiler test cases
// and as seeds of the mutation test. Each holds "vsMain" and "psMain".
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct CorpusShader {
    const char* name;
    const char* source;
};

inline const std::vector<CorpusShader>& shaderCorpus() {
    static const std::vector<CorpusShader> corpus = {
        {"texture", R"(
float4x4 StateComplete;
float alpha;
sampler2D tex0;

struct VsOut {
    float4 position : POSITION;
    float2 uv : TEXCOORD0;
};

VsOut vsMain(float4 position : POSITION, float2 uv : TEXCOORD0)
{
    VsOut o;
    o.position = mul(StateComplete, position);
    o.uv = uv;
    return o;
}

float4 psMain(float2 uv : TEXCOORD0) : COLOR
{
    float4 c = tex2D(tex0, uv);
    c.a *= alpha;
    return c;
}
)"},
        {"directional_blur", R"(
// Nine taps along pixelStep, weighted, with a gamma lift.
#define TAPS 9
float4x4 StateComplete;
float4 pixelStep;
float gamma;
sampler2D tex0;

static const float weights[TAPS] = { 0.05, 0.09, 0.12, 0.15, 0.18, 0.15, 0.12, 0.09, 0.05 };

void vsMain(in float4 pos : POSITION, in float4 uv : TEXCOORD0,
            out float4 oPos : POSITION, out float2 oUv : TEXCOORD0)
{
    oPos = mul(StateComplete, pos);
    oUv = uv.xy;
}

float4 psMain(float2 uv : TEXCOORD0) : COLOR
{
    float4 sum = 0;
    for (int i = 0; i < TAPS; i++) {
        float2 at = uv + pixelStep.xy * (i - TAPS / 2);
        sum += tex2D(tex0, at) * weights[i];
    }
    return pow(saturate(sum), 1.0 / max(gamma, 0.01));
}
)"},
        {"find_edges", R"(
float4x4 StateComplete;
float texelSize;
float amp;
float4 edgeColor;
float4 bgColor;
sampler2D tex0;

struct V2F { float4 pos : POSITION; float2 uv : TEXCOORD0; };

V2F vsMain(float4 pos : POSITION, float2 uv : TEXCOORD0)
{
    V2F o = { mul(StateComplete, pos), uv };
    return o;
}

float luminance(float3 c) { return dot(c, float3(0.299, 0.587, 0.114)); }

float4 psMain(V2F i) : COLOR
{
    float2 d = float2(texelSize, 0);
    float gx = luminance(tex2D(tex0, i.uv + d.xy).rgb) - luminance(tex2D(tex0, i.uv - d.xy).rgb);
    float gy = luminance(tex2D(tex0, i.uv + d.yx).rgb) - luminance(tex2D(tex0, i.uv - d.yx).rgb);
    float edge = saturate(sqrt(gx * gx + gy * gy) * amp);
    return lerp(bgColor, edgeColor, edge);
}
)"},
        {"depth_of_field", R"(
float4x4 StateComplete;
float focusDepth, ramp, exponent;
float4 pixelStep;
sampler2D colorMap;
sampler2D depthMap;

float4 vsMain(float4 p : POSITION, inout float2 uv : TEXCOORD0) : POSITION
{
    return mul(StateComplete, p);
}

float blurAmount(float depth)
{
    float d = abs(depth - focusDepth) * ramp;
    return d > 1 ? 1 : pow(d, exponent);
}

float4 psMain(float2 uv : TEXCOORD0) : COLOR
{
    float amount = blurAmount(tex2D(depthMap, uv).r);
    float4 sharp = tex2D(colorMap, uv);
    float4 soft = 0;
    const int n = 2;
    for (int y = -n; y <= n; ++y)
        for (int x = -n; x <= n; ++x)
            soft += tex2D(colorMap, uv + float2(x, y) * pixelStep.xy);
    soft /= (2 * n + 1) * (2 * n + 1);
    return lerp(sharp, soft, amount);
}
)"},
        {"specular_bump", R"(
float4x4 StateComplete;
float4x4 StateWorld;
float4 lightPosition;
float4 cameraPosition;
float4 targetPosition;
sampler2D tex0;
sampler2D tex1;

struct VertexIn {
    float4 position : POSITION;
    float3 normal : NORMAL;
    float2 uv : TEXCOORD0;
    float3 tangent : TANGENT;
    float3 binormal : BINORMAL;
};

struct VertexOut {
    float4 position : POSITION;
    float2 uv : TEXCOORD0;
    float3 light : TEXCOORD1;
    float3 view : TEXCOORD2;
};

VertexOut vsMain(VertexIn v)
{
    VertexOut o;
    o.position = mul(StateComplete, v.position);
    float3 world = mul(StateWorld, v.position).xyz;
    float3x3 toWorld = (float3x3)StateWorld;
    float3x3 tangentSpace = float3x3(mul(toWorld, v.tangent), mul(toWorld, v.binormal), mul(toWorld, v.normal));
    o.light = mul(tangentSpace, lightPosition.xyz - world);
    o.view = mul(tangentSpace, cameraPosition.xyz - world);
    o.uv = v.uv;
    return o;
}

float4 psMain(VertexOut i) : COLOR
{
    float3 n = normalize(tex2D(tex1, i.uv).xyz * 2 - 1);
    float3 l = normalize(i.light);
    float3 h = normalize(l + normalize(i.view));
    float4 lighting = lit(dot(n, l), dot(n, h), 32);
    float4 base = tex2D(tex0, i.uv);
    return float4(base.rgb * (0.2 + lighting.y) + lighting.z, base.a);
}
)"},
        {"particles", R"(
float4x4 StateComplete;
float4x4 StateView;
sampler2D tex0;

void vsMain(float4 position : POSITION, float4 color : COLOR0, float2 uv : TEXCOORD0, float2 corner : TEXCOORD1,
            out float4 oPosition : POSITION, out float4 oColor : COLOR0, out float2 oUv : TEXCOORD0)
{
    // Screen-facing quad: the corner offset runs along the view's right and up axes.
    float3 right = float3(StateView[0][0], StateView[0][1], StateView[0][2]);
    float3 up = StateView[1].xyz;
    float4 p = float4(position.xyz + right * corner.x + up * corner.y, 1);
    oPosition = mul(StateComplete, p);
    oColor = color;
    oUv = uv;
}

float4 psMain(float4 color : COLOR0, float2 uv : TEXCOORD0) : COLOR
{
    float4 t = tex2D(tex0, uv);
    clip(t.a - 0.01);
    return t * color;
}
)"},
        {"spherical_env", R"(
float4x4 StateComplete;
float4x4 StateWorld;
float4 cameraPosition;
float4 targetPosition;
float4 color;
sampler2D tex0;

struct Out { float4 pos : POSITION; float3 n : TEXCOORD0; float3 eye : TEXCOORD1; };

Out vsMain(float4 pos : POSITION, float3 normal : NORMAL)
{
    Out o;
    o.pos = mul(StateComplete, pos);
    o.n = normalize(mul((float3x3)StateWorld, normal));
    o.eye = mul(StateWorld, pos).xyz - cameraPosition.xyz;
    return o;
}

float4 psMain(Out i) : COLOR
{
    float3 r = reflect(normalize(i.eye), normalize(i.n));
    float m = 2 * sqrt(r.x * r.x + r.y * r.y + (r.z + 1) * (r.z + 1));
    float2 uv = r.xy / m + 0.5;
    return tex2D(tex0, uv) * color;
}
)"},
        {"distort_sine", R"(
float4x4 StateComplete;
float4 freq, amp, ofset;
sampler2D tex0;

float4 vsMain(float4 p : POSITION, float4 uv : TEXCOORD0, out float4 tc : TEXCOORD0) : POSITION
{
    tc = uv;
    return mul(StateComplete, p);
}

float4 psMain(float4 tc : TEXCOORD0) : COLOR
{
    float2 uv = tc.xy;
    uv.x += sin(uv.y * freq.y + ofset.y) * amp.x;
    uv.y += cos(uv.x * freq.x + ofset.x) * amp.y;
    return tex2D(tex0, frac(uv));
}
)"},
    };
    return corpus;
}

// The repository's .cg files (vessara_data/ and data/, read relative to the
// current directory, which is the repository root in tests), sorted by path.
// The .cg files of the given directories (relative to the repository root), sorted.
inline std::vector<std::pair<std::string, std::string>> shaderFiles(std::initializer_list<const char*> dirs) {
    std::vector<std::filesystem::path> files;
    for (const char* dir : dirs) {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(dir, error))
            if (entry.path().extension() == ".cg") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    std::vector<std::pair<std::string, std::string>> shaders;
    for (const auto& path : files) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        shaders.emplace_back(path.string(), text.str());
    }
    return shaders;
}

inline std::vector<std::pair<std::string, std::string>> repositoryShaders() { return shaderFiles({"vessara_data", "data"}); }

// Shaders written in the style of collections from elsewhere: two entries
// main_vertex / main_fragment, #include of tests/cgc/corpus/include.
inline const char* const corpusDir = "tests/cgc/corpus";
inline std::vector<std::pair<std::string, std::string>> corpusFiles() { return shaderFiles({corpusDir}); }

// The corpus files as seeds of the mutation tests, with the entries renamed
// vsMain / psMain; compiled as if they were a file of the corpus directory,
// so their #include lines resolve.
inline std::vector<std::string> corpusSeeds() {
    std::vector<std::string> seeds;
    for (auto [path, text] : corpusFiles()) {
        for (auto [from, to] : {std::pair<std::string, std::string>{"main_vertex", "vsMain"}, {"main_fragment", "psMain"}})
            for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) text.replace(at, from.size(), to);
        seeds.push_back(text);
    }
    return seeds;
}
inline const char* const corpusSeedPath = "tests/cgc/corpus/seed.cg";
