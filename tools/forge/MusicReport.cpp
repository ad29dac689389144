#include "MusicReport.h"

#include "Dsp.h"
#include "Image.h"
#include "Output.h"
#include "Text.h"

#include "vessara/BeatTrigger.h"
#include "vessara/Spectrum.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>

namespace Forge {

namespace {

constexpr double FrameRate = 60.0;
constexpr float Threshold = 0.3f;
constexpr double KickWindow = 0.12;  // a firing this soon after a kick belongs to it

using Spectrum = std::array<float, Vessara::spectrumBins>;

// The player's view of the music: the spectrum of the 512 mono samples at
// each frame's position.
std::vector<Spectrum> frameSpectra(const StereoBuffer& pcm) {
    const std::size_t total = pcm.frames();
    const auto frames = static_cast<std::size_t>(std::floor(static_cast<double>(total) / SampleRate * FrameRate));
    std::vector<Spectrum> spectra(frames);
    std::array<float, Vessara::spectrumBlock> mono{};
    for (std::size_t n = 0; n < frames; ++n) {
        const auto start = static_cast<std::size_t>(std::llround(static_cast<double>(n) / FrameRate * SampleRate));
        for (std::size_t i = 0; i < mono.size(); ++i) {
            const std::size_t s = start + i;
            mono[i] = s < total ? 0.5f * (pcm.left[s] + pcm.right[s]) : 0.0f;
        }
        Vessara::computeSpectrum(mono.data(), spectra[n].data());
    }
    return spectra;
}

double toDb(double x) { return 20.0 * std::log10(std::max(x, 1e-9)); }

TriggerStats runTrigger(const std::vector<Spectrum>& spectra, const Score& score, int bin) {
    TriggerStats stats;
    stats.bin = bin;
    stats.kicks = static_cast<int>(score.kicks.size());
    std::vector<double> kickTimes;
    for (const DrumHit& k : score.kicks) kickTimes.push_back(score.seconds(k.beat));
    std::vector<bool> kickFired(kickTimes.size(), false);
    std::vector<float> kickPeak(kickTimes.size(), 0.0f);
    Vessara::BeatTrigger trigger;
    const auto delta = static_cast<float>(1.0 / FrameRate);
    for (std::size_t n = 0; n < spectra.size(); ++n) {
        const double t = static_cast<double>(n) / FrameRate;
        const float level = spectra[n][static_cast<std::size_t>(bin)];
        // The kick whose window holds this frame, if any.
        const auto after = std::upper_bound(kickTimes.begin(), kickTimes.end(), t + 1.0 / FrameRate);
        std::ptrdiff_t kick = -1;
        if (after != kickTimes.begin()) {
            const auto k = std::prev(after) - kickTimes.begin();
            if (t <= kickTimes[static_cast<std::size_t>(k)] + KickWindow) kick = k;
        }
        if (kick >= 0) {
            auto& peak = kickPeak[static_cast<std::size_t>(kick)];
            peak = std::max(peak, level);
        } else {
            // Away from kicks: also outside the tail where the trigger may
            // still be holding.
            const bool inTail = after != kickTimes.begin() && t <= *std::prev(after) + 0.2;
            if (!inTail) stats.loudestAway = std::max(stats.loudestAway, level);
        }
        if (!trigger.step(level, Threshold, delta)) continue;
        ++stats.firings;
        if (kick >= 0 && !kickFired[static_cast<std::size_t>(kick)]) {
            kickFired[static_cast<std::size_t>(kick)] = true;
            ++stats.kicksFired;
        } else {
            ++stats.firingsAway;
        }
    }
    if (!kickPeak.empty()) {
        const auto weakest = std::min_element(kickPeak.begin(), kickPeak.end());
        stats.weakestKickPeak = *weakest;
        stats.weakestKickBeat = score.kicks[static_cast<std::size_t>(weakest - kickPeak.begin())].beat;
    }
    return stats;
}

// Band levels (dB) of every beat: 24 bands spaced evenly in log frequency
// from bin 2 (172 Hz) up, so a new instrument, register or brightness shows
// as a change in a few bands. Bins 0 and 1 (the kick) are left out.
constexpr std::size_t BandCount = 24;
using BandLevels = std::array<double, BandCount>;

std::array<int, BandCount + 1> bandEdges() {
    std::array<int, BandCount + 1> edges{};
    for (std::size_t i = 0; i <= BandCount; ++i) {
        const int e = static_cast<int>(std::lround(2.0 * std::pow(128.0, double(i) / BandCount)));
        edges[i] = i == 0 ? 2 : std::max(e, edges[i - 1] + 1);
    }
    edges[BandCount] = Vessara::spectrumBins;
    return edges;
}

std::vector<BandLevels> beatBands(const std::vector<Spectrum>& spectra, const Score& score) {
    const auto edges = bandEdges();
    const auto beats = static_cast<std::size_t>(score.endBeat);
    std::vector<BandLevels> levels(beats);
    for (std::size_t b = 0; b < beats; ++b) {
        const auto from = static_cast<std::size_t>(std::ceil(score.seconds(double(b)) * FrameRate));
        const auto to = std::min(spectra.size(), static_cast<std::size_t>(std::ceil(score.seconds(double(b + 1)) * FrameRate)));
        for (std::size_t band = 0; band < BandCount; ++band) {
            double power = 0.0;
            int count = 0;
            for (std::size_t n = from; n < to; ++n)
                for (int k = edges[band]; k < edges[band + 1]; ++k, ++count)
                    power += double(spectra[n][static_cast<std::size_t>(k)]) * spectra[n][static_cast<std::size_t>(k)];
            levels[b][band] = 10.0 * std::log10(power / std::max(count, 1) + 1e-10);
        }
    }
    return levels;
}

// Spectral change across beat b: distance between the mean band levels of
// up to sixteen beats before and after (one full chord progression each, so
// the chord changes inside a section do not count as change).
double novelty(const std::vector<BandLevels>& levels, std::size_t b) {
    const std::size_t span = std::min<std::size_t>({16, b, levels.size() - b});
    double sum = 0.0;
    for (std::size_t band = 0; band < BandCount; ++band) {
        double before = 0.0, after = 0.0;
        for (std::size_t i = 0; i < span; ++i) {
            before += levels[b - span + i][band];
            after += levels[b + i][band];
        }
        const double d = (after - before) / double(span);
        sum += d * d;
    }
    return std::sqrt(sum / double(BandCount));
}

double bandEnergy(const std::vector<Spectrum>& spectra, double fromSeconds, double toSeconds, int binFrom, int binTo) {
    const auto from = static_cast<std::size_t>(std::ceil(fromSeconds * FrameRate));
    const auto to = std::min(spectra.size(), static_cast<std::size_t>(std::ceil(toSeconds * FrameRate)));
    double power = 0.0;
    for (std::size_t n = from; n < to; ++n)
        for (int k = binFrom; k < binTo; ++k) power += double(spectra[n][static_cast<std::size_t>(k)]) * spectra[n][static_cast<std::size_t>(k)];
    return power / std::max<double>(1.0, double(to - from));
}

}  // namespace

MusicReport analyseMusic(const StereoBuffer& pcm, const Score& score) {
    MusicReport r;
    r.durationSeconds = static_cast<double>(pcm.frames()) / SampleRate;
    double peak = 0.0, power = 0.0;
    for (std::size_t i = 0; i < pcm.frames(); ++i) {
        const double l = pcm.left[i], rr = pcm.right[i];
        peak = std::max({peak, std::fabs(l), std::fabs(rr)});
        power += 0.5 * (l * l + rr * rr);
        if (std::fabs(l) >= 1.0 || std::fabs(rr) >= 1.0) ++r.clippedSamples;
    }
    r.peakDb = toDb(peak);
    r.rmsDb = 10.0 * std::log10(power / std::max<double>(1.0, double(pcm.frames())) + 1e-20);

    for (std::size_t s = 0; s + 1 < score.sections.size(); ++s) {
        SectionLevel level{score.sections[s].name, score.sections[s].startBeat, score.sections[s + 1].startBeat};
        const std::size_t from = secondsToFrame(score.seconds(level.startBeat));
        const std::size_t to = std::min(pcm.frames(), secondsToFrame(score.seconds(level.endBeat)));
        double p = 0.0, sum = 0.0;
        for (std::size_t i = from; i < to; ++i) {
            p = std::max({p, double(std::fabs(pcm.left[i])), double(std::fabs(pcm.right[i]))});
            sum += 0.5 * (double(pcm.left[i]) * pcm.left[i] + double(pcm.right[i]) * pcm.right[i]);
        }
        level.peakDb = toDb(p);
        level.rmsDb = 10.0 * std::log10(sum / std::max<double>(1.0, double(to - from)) + 1e-20);
        r.sections.push_back(level);
    }

    const std::vector<Spectrum> spectra = frameSpectra(pcm);
    r.triggers[0] = runTrigger(spectra, score, 0);
    r.triggers[1] = runTrigger(spectra, score, 1);

    const std::vector<BandLevels> levels = beatBands(spectra, score);
    std::vector<std::pair<double, std::size_t>> candidates;
    for (std::size_t b = 8; b + 8 <= levels.size(); b += 4) candidates.push_back({novelty(levels, b), b});
    std::vector<double> values;
    for (const auto& c : candidates) values.push_back(c.first);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2), values.end());
    const double median = values.empty() ? 0.0 : values[values.size() / 2];
    r.usualChange = median;
    for (const auto& c : candidates) r.changes.push_back({double(c.second), c.first});
    auto sorted = candidates;
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < sorted.size() && i < 12; ++i) r.strongestChanges.push_back(double(sorted[i].second));
    for (std::size_t s = 1; s + 1 < score.sections.size(); ++s) {
        BoundaryCheck check;
        check.beat = score.sections[s].startBeat;
        for (std::size_t i = 0; i < candidates.size(); ++i) {
            if (double(candidates[i].second) != check.beat) continue;
            check.novelty = candidates[i].first;
            check.rank = 1 + static_cast<int>(std::count_if(candidates.begin(), candidates.end(),
                                                            [&](const auto& c) { return c.first > check.novelty; }));
            // Found: the nearest local maximum of the change (within one bar)
            // stands well above the usual change.
            for (std::size_t j = (i >= 1 ? i - 1 : 0); j <= i + 1 && j < candidates.size(); ++j) {
                const bool peak = (j == 0 || candidates[j - 1].first <= candidates[j].first) &&
                                  (j + 1 == candidates.size() || candidates[j + 1].first <= candidates[j].first);
                if (peak && candidates[j].first > 1.5 * median && (!check.found || j == i)) {
                    check.found = true;
                    check.foundAt = double(candidates[j].second);
                }
            }
        }
        r.boundaries.push_back(check);
    }

    // Accents: the high band on the accent's first half beat against the
    // median downbeat of its section.
    for (double beat : score.accentBeats) {
        std::vector<double> downbeats;
        for (double b = 204; b < 268; b += 4) downbeats.push_back(bandEnergy(spectra, score.seconds(b), score.seconds(b + 0.5), 64, 256));
        std::nth_element(downbeats.begin(), downbeats.begin() + static_cast<std::ptrdiff_t>(downbeats.size() / 2), downbeats.end());
        const double accent = bandEnergy(spectra, score.seconds(beat), score.seconds(beat + 0.5), 64, 256);
        r.accents.push_back({beat, 10.0 * std::log10((accent + 1e-12) / (downbeats[downbeats.size() / 2] + 1e-12))});
    }
    const double buildEnd = bandEnergy(spectra, score.seconds(459), score.seconds(460), 16, 256);
    const double buildStart = bandEnergy(spectra, score.seconds(452), score.seconds(456), 16, 256);
    r.buildRiseDb = 10.0 * std::log10((buildEnd + 1e-12) / (buildStart + 1e-12));
    return r;
}

void printReport(const MusicReport& r, std::ostream& out) {
    out << std::fixed << std::setprecision(2);
    out << "music: " << r.durationSeconds << " s (" << r.durationSeconds * 163.0 / 60.0 << " beats at 163 bpm)\n";
    out << "level: peak " << r.peakDb << " dBFS, RMS " << r.rmsDb << " dBFS, clipped samples " << r.clippedSamples
        << "\n";
    for (const TriggerStats& t : r.triggers) {
        out << "beat trigger bin " << t.bin << " (> 0.3, 60 fps): fired on " << t.kicksFired << " of " << t.kicks
            << " kicks (" << (t.kicks ? 100.0 * t.kicksFired / t.kicks : 0.0) << " %), " << t.firingsAway
            << " firings away from kicks; weakest kick peak " << t.weakestKickPeak << " (beat "
            << t.weakestKickBeat << "), loudest level away "
            << t.loudestAway << "\n";
    }
    out << "sections (beats: RMS / peak dBFS):\n";
    for (const SectionLevel& s : r.sections)
        out << "  " << std::setw(4) << int(s.startBeat) << "-" << std::setw(3) << int(s.endBeat) << " "
            << std::left << std::setw(11) << s.name << std::right << std::setw(7) << s.rmsDb << " / " << s.peakDb
            << "\n";
    out << "section changes (spectral change across the beat, rank among all 4-beat positions; usual change "
        << r.usualChange << " dB):\n";
    int found = 0;
    for (const BoundaryCheck& b : r.boundaries) {
        out << "  beat " << std::setw(3) << int(b.beat) << ": change " << b.novelty << " dB, rank " << b.rank;
        if (b.found)
            out << "  found" << (b.foundAt != b.beat ? " (peak at beat " + std::to_string(int(b.foundAt)) + ")" : "");
        else
            out << "  NOT FOUND";
        out << "\n";
        found += b.found ? 1 : 0;
    }
    out << "  " << found << " of " << r.boundaries.size() << " boundaries found; strongest changes at beats";
    for (double b : r.strongestChanges) out << " " << int(b);
    out << "\n";
    out << "accents (high band over the section's usual downbeat):";
    for (const AccentCheck& a : r.accents) out << " " << int(a.beat) << ": +" << a.riseDb << " dB";
    out << "\nbuild 456-460: last beat " << r.buildRiseDb << " dB over the four beats before\n";
}

bool writeSpectrogram(const StereoBuffer& pcm, const Score& score, const std::string& path, std::string* error) {
    const std::vector<Spectrum> spectra = frameSpectra(pcm);
    constexpr int PixelsPerSecond = 10;
    constexpr int HeaderRows = 26, SpectrumRows = 320, StripRows = 60;
    const int spectrumTop = HeaderRows, stripTop = HeaderRows + SpectrumRows;
    const int width = static_cast<int>(std::ceil(double(spectra.size()) / FrameRate * PixelsPerSecond));
    const int height = stripTop + 2 * StripRows;
    Image image(width, height, {0, 0, 0, 1});
    auto column = [&](double seconds) { return static_cast<int>(std::lround(seconds * PixelsPerSecond)); };
    // Spectrum: log-frequency rows from 40 Hz to 20 kHz; a column shows the
    // strongest of its frames (so short kicks stay visible).
    const double binHz = double(SampleRate) / Vessara::spectrumBlock;
    for (int x = 0; x < width; ++x) {
        const auto from = static_cast<std::size_t>(double(x) / PixelsPerSecond * FrameRate);
        const auto to = std::min(spectra.size(), static_cast<std::size_t>(double(x + 1) / PixelsPerSecond * FrameRate));
        for (int y = 0; y < SpectrumRows; ++y) {
            const double hz = 40.0 * std::pow(20000.0 / 40.0, double(SpectrumRows - 1 - y) / (SpectrumRows - 1));
            const double bin = std::min(hz / binHz, 254.999);
            const auto b0 = static_cast<std::size_t>(bin);
            const float t = static_cast<float>(bin - double(b0));
            float level = 0.0f;
            for (std::size_t n = from; n < to; ++n)
                level = std::max(level, spectra[n][b0] * (1.0f - t) + spectra[n][b0 + 1] * t);
            const float v = static_cast<float>(std::clamp((toDb(level) + 90.0) / 85.0, 0.0, 1.0));
            image.at(x, spectrumTop + y) = {std::pow(v, 1.6f), std::pow(v, 3.2f) * 0.95f,
                                            0.3f * v + 0.5f * std::pow(v, 8.0f), 1};
        }
        // Bins 0 and 1: the strongest level of the column's frames as a bar.
        for (int bin = 0; bin < 2; ++bin) {
            float level = 0.0f;
            for (std::size_t n = from; n < to; ++n) level = std::max(level, spectra[n][static_cast<std::size_t>(bin)]);
            const int bottom = stripTop + (bin + 1) * StripRows - 1;
            const int bar = static_cast<int>(std::min(level, 1.0f) * (StripRows - 4));
            const Rgba colour = bin == 0 ? Rgba{0.3f, 0.6f, 1.0f, 1} : Rgba{0.35f, 1.0f, 0.35f, 1};
            for (int y = 0; y < bar; ++y) image.at(x, bottom - y) = colour;
            image.blend(x, bottom - static_cast<int>(0.3f * (StripRows - 4)), {1, 0.2f, 0.2f, 0.9f});
        }
    }
    // Trigger firings (yellow) along the top of each strip, kicks (white) at the bottom.
    for (int bin = 0; bin < 2; ++bin) {
        Vessara::BeatTrigger trigger;
        const int top = stripTop + bin * StripRows, bottom = top + StripRows - 1;
        for (std::size_t n = 0; n < spectra.size(); ++n)
            if (trigger.step(spectra[n][static_cast<std::size_t>(bin)], Threshold, static_cast<float>(1.0 / FrameRate)))
                for (int y = top; y < top + 4; ++y) image.blend(column(double(n) / FrameRate), y, {1, 0.9f, 0.1f, 1});
        for (const DrumHit& k : score.kicks)
            for (int y = bottom - 2; y <= bottom; ++y) image.blend(column(score.seconds(k.beat)), y, {1, 1, 1, 1});
    }
    // Beat grid: faint every 4 beats, brighter at the 16-beat phrases, the
    // scene boundaries white and named, the accents marked in yellow.
    for (double beat = 0; beat <= score.endBeat; beat += 4) {
        const bool phrase = std::fmod(beat - 12.0 + 1600.0, 16.0) == 0.0;
        const Rgba line = phrase ? Rgba{0.4f, 0.7f, 1.0f, 0.45f} : Rgba{0.6f, 0.6f, 0.6f, 0.15f};
        for (int y = HeaderRows; y < height; ++y) image.blend(column(score.seconds(beat)), y, line);
    }
    for (std::size_t i = 0; i < score.sections.size(); ++i) {
        const Section& s = score.sections[i];
        const int x = column(score.seconds(s.startBeat));
        for (int y = 0; y < height; ++y) image.blend(x, y, {1, 1, 1, 0.9f});
        // Names alternate between two lines so short sections stay legible.
        Font::bold().draw(image, s.name + " " + std::to_string(int(s.startBeat)), float(x + 3),
                          i % 2 ? 23.0f : 11.0f, 11.0f, {1, 1, 1, 1});
    }
    for (double beat : score.accentBeats) {
        const int x = column(score.seconds(beat));
        for (int y = HeaderRows; y < HeaderRows + 14; ++y)
            for (int dx = -1; dx <= 1; ++dx) image.blend(x + dx, y, {1, 0.9f, 0.1f, 1});
    }
    return writeOutputFile(path, encodePng(image, false), error);
}

}  // namespace Forge
