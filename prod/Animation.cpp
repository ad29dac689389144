#include "prod/Animation.h"

#include <cmath>
#include <cstdint>

namespace Prod {

namespace {

std::uint32_t generatorState = 1;

}  // namespace

void srand(unsigned seed)
{
    generatorState = seed;
}

int rand()
{
    generatorState = generatorState * 214013u + 2531011u;
    return static_cast<int>((generatorState >> 16) & 32767u);
}

float ease(float x)
{
    const float c = x < 0.0f ? 0.0f : (x > 1.0f ? 1.0f : x);
    return 0.5f - 0.5f * std::cos(3.1415927f * c);
}

float atBeat(double beats, float tempo)
{
    return static_cast<float>(beats * 60.0 / static_cast<double>(tempo));
}

float u()
{
    return 2.0f * static_cast<float>(rand()) / static_cast<float>(RandMax) - 1.0f;
}

Kestrane::Float3 randomVector()
{
    Kestrane::Float3 v;
    v.x = u();
    v.y = u();
    v.z = u();
    return v;
}

Kestrane::Float3 noise(int channel, float x, NoiseMode mode)
{
    const double f = static_cast<double>(channel) + static_cast<double>(x);
    Kestrane::Float3 points[4];
    for (int j = 0; j < 4; ++j) {
        // Truncation toward zero; a negative seed wraps like the C library's
        // unsigned argument.
        srand(static_cast<unsigned>(static_cast<long long>(f + j)));
        points[j] = randomVector();
    }
    const float w = x - std::floor(x);
    if (mode == NoiseMode::Linear)
        return Kestrane::lerp(points[0], points[1], w);
    return Kestrane::cubicInterpolate(points[0], points[1], points[2], points[3], w);
}

void rotate(Kestrane::Float3& v, Kestrane::Float3 axis, float theta)
{
    const float axisLength = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (axisLength == 0.0f || length == 0.0f)
        return;  // no axis to turn about, or nothing to turn
    const Kestrane::Float3 k = axis * (1.0f / axisLength);
    const float c = std::cos(theta);
    const float s = std::sin(theta);
    const Kestrane::Float3 vCrossK{v.y * k.z - v.z * k.y, v.z * k.x - v.x * k.z, v.x * k.y - v.y * k.x};
    const float kDotV = k.x * v.x + k.y * v.y + k.z * v.z;
    Kestrane::Float3 turned = v * c + vCrossK * s + k * (kDotV * (1.0f - c));
    const float turnedLength = std::sqrt(turned.x * turned.x + turned.y * turned.y + turned.z * turned.z);
    if (turnedLength > 0.0f)
        turned = turned * (length / turnedLength);
    v = turned;
}

bool fire(Vessara::BeatTrigger& trigger, float level, float threshold, float frameDelta)
{
    return trigger.step(level, threshold, frameDelta);
}

}  // namespace Prod
