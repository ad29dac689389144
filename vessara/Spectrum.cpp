#include "vessara/Spectrum.h"

#include <kiss_fftr.h>

#include <array>
#include <cmath>
#include <memory>
#include <numbers>

namespace Vessara {

namespace {

struct FftConfigDeleter {
    void operator()(kiss_fftr_cfg cfg) const { kiss_fftr_free(cfg); }
};

// kissfft's real transform keeps scratch space in its configuration, so each
// thread gets its own.
kiss_fftr_cfg fftConfig()
{
    thread_local std::unique_ptr<kiss_fftr_state, FftConfigDeleter> cfg(
        kiss_fftr_alloc(spectrumBlock, 0, nullptr, nullptr));
    return cfg.get();
}

const std::array<float, spectrumBlock>& hannWindow()
{
    static const std::array<float, spectrumBlock> window = [] {
        std::array<float, spectrumBlock> w{};
        for (int i = 0; i < spectrumBlock; ++i)
            w[i] = float(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * i / spectrumBlock));
        return w;
    }();
    return window;
}

}  // namespace

void computeSpectrum(const float* mono512, float* out256)
{
    const auto& window = hannWindow();
    std::array<kiss_fft_scalar, spectrumBlock> input{};
    for (int i = 0; i < spectrumBlock; ++i)
        input[i] = mono512[i] * window[i];

    std::array<kiss_fft_cpx, spectrumBlock / 2 + 1> bins{};
    kiss_fftr(fftConfig(), input.data(), bins.data());

    // A sine of amplitude A on bin k gives |X[k]| = A * sum(window) / 2, and
    // the Hann window sums to N / 2.
    const float scale = 4.0f / spectrumBlock;
    for (int k = 0; k < spectrumBins; ++k)
        out256[k] = std::hypot(bins[k].r, bins[k].i) * scale;
}

}  // namespace Vessara
