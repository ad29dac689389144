// Deterministic pseudo-random numbers for the content tool: every texture,
// mesh and note that needs chance draws from one of these, seeded with a
// fixed number, so the generated files are the same bytes on every run.
//
// Use:
//   Random rng(1234);
//   rng.next()        32 random bits
//   rng.uniform()     float in [0, 1)
//   rng.bipolar()     float in [-1, 1)
//   rng.range(a, b)   float in [a, b)
//   rng.below(n)      integer in [0, n)
// A plain value: copy it to fork a sequence. Never reads the clock or rand().
#pragma once

#include <cstdint>

namespace Forge {

class Random {
public:
    explicit Random(std::uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}

    // splitmix64, reduced to 32 bits.
    std::uint32_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
    }
    float uniform() { return static_cast<float>(next() >> 8) * (1.0f / 16777216.0f); }
    float bipolar() { return uniform() * 2.0f - 1.0f; }
    float range(float a, float b) { return a + (b - a) * uniform(); }
    std::uint32_t below(std::uint32_t n) { return n == 0 ? 0 : next() % n; }

private:
    std::uint64_t state;
};

}  // namespace Forge
