#include "Dsp.h"

namespace Forge {

namespace {
// Classic tunings at 44.1 kHz; the right channel is offset for width.
constexpr std::array<int, 8> CombLengths{1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr std::array<int, 4> AllPassLengths{556, 441, 341, 225};
constexpr int StereoSpread = 23;
constexpr float AllPassFeedback = 0.5f;
}  // namespace

Reverb::Reverb(float roomSize, float damping) : feedback(roomSize), damp(damping) {
    for (int length : CombLengths) {
        combsL.push_back({DelayLine(static_cast<std::size_t>(length))});
        combsR.push_back({DelayLine(static_cast<std::size_t>(length + StereoSpread))});
    }
    for (int length : AllPassLengths) {
        allPassL.push_back({DelayLine(static_cast<std::size_t>(length))});
        allPassR.push_back({DelayLine(static_cast<std::size_t>(length + StereoSpread))});
    }
}

void Reverb::tick(float inLeft, float inRight, float& outLeft, float& outRight) {
    const float input = (inLeft + inRight) * 0.5f;
    auto channel = [&](std::vector<Comb>& combs, std::vector<AllPass>& passes) {
        float sum = 0.0f;
        for (Comb& c : combs) {
            const float out = c.line.read();
            c.filterState = out * (1.0f - damp) + c.filterState * damp;
            c.line.write(input + c.filterState * feedback);
            sum += out;
        }
        for (AllPass& a : passes) {
            const float buffered = a.line.read();
            const float out = buffered - sum;
            a.line.write(sum + buffered * AllPassFeedback);
            sum = out;
        }
        return sum * 0.125f;
    };
    outLeft = channel(combsL, allPassL);
    outRight = channel(combsR, allPassR);
}

}  // namespace Forge
