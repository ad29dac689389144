#include "vessara/Spectrum.h"

#include <array>
#include <cmath>
#include <numbers>

namespace Vessara {

namespace {

constexpr int fftSize = spectrumBlock;
constexpr int fftBits = 9;  // 2^9 = 512
static_assert(1 << fftBits == fftSize);

struct FftTables {
    std::array<double, fftSize> window{};
    std::array<double, fftSize / 2> cosines{};
    std::array<double, fftSize / 2> sines{};
    std::array<int, fftSize> reversed{};
};

const FftTables& tables()
{
    static const FftTables t = [] {
        FftTables built;
        for (int i = 0; i < fftSize; ++i) {
            built.window[i] = 0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / fftSize);
            int r = 0;
            for (int b = 0; b < fftBits; ++b)
                r |= ((i >> b) & 1) << (fftBits - 1 - b);
            built.reversed[i] = r;
        }
        for (int k = 0; k < fftSize / 2; ++k) {
            built.cosines[k] = std::cos(2.0 * std::numbers::pi * k / fftSize);
            built.sines[k] = -std::sin(2.0 * std::numbers::pi * k / fftSize);
        }
        return built;
    }();
    return t;
}

}  // namespace

void computeSpectrum(const float* mono512, float* out256)
{
    // Hann window, then an in-place radix-2 transform of the 512 real
    // samples (imaginary parts zero), in double precision.
    const FftTables& t = tables();
    std::array<double, fftSize> re{}, im{};
    for (int i = 0; i < fftSize; ++i)
        re[t.reversed[i]] = mono512[i] * t.window[i];
    for (int half = 1; half < fftSize; half *= 2) {
        const int step = fftSize / (2 * half);
        for (int start = 0; start < fftSize; start += 2 * half)
            for (int j = 0; j < half; ++j) {
                const double c = t.cosines[j * step], s = t.sines[j * step];
                const int a = start + j, b = a + half;
                const double xr = re[b] * c - im[b] * s;
                const double xi = re[b] * s + im[b] * c;
                re[b] = re[a] - xr;
                im[b] = im[a] - xi;
                re[a] += xr;
                im[a] += xi;
            }
    }

    // A sine of amplitude A on bin k gives |X[k]| = A * sum(window) / 2, and
    // the Hann window sums to N / 2.
    const double scale = 4.0 / spectrumBlock;
    for (int k = 0; k < spectrumBins; ++k)
        out256[k] = float(std::hypot(re[k], im[k]) * scale);
}

}  // namespace Vessara
