// Spectrum of a block of music: 512 mono samples in, 256 magnitudes out.
//
// Use:
//   computeSpectrum(mono512, out256)
//       mono512: 512 samples in [-1, 1]. The block is Hann-windowed and
//       transformed with a real FFT; out256[k] is the magnitude of bin k
//       (k * 44100 / 512 Hz at the music's rate, bin 0 = DC), scaled so that a
//       sine of amplitude A centred on a bin reads about A there (1.0 for a
//       full-scale sine).
// Pure function; safe to call from several threads at once.
#pragma once

namespace Vessara {

constexpr int spectrumBlock = 512;
constexpr int spectrumBins = 256;

void computeSpectrum(const float* mono512, float* out256);

}  // namespace Vessara
