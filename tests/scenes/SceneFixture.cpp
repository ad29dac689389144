#include "SceneFixture.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace SceneTests {

Prod::Prod& sharedProd()
{
    static Prod::Prod* prod = [] {
        auto* made = new Prod::Prod(false);
        made->fullscreen = false;
        made->context = &testContext();
        made->load();
        // Prepared as at start-up (by index: preparing may register more).
        for (std::size_t i = 0; i < made->drawables.size(); ++i)
            made->drawables[i]->prepare();
        return made;
    }();
    return *prod;
}

std::vector<std::uint8_t> renderAt(float time, float bass, float frameDelta)
{
    Prod::Prod& prod = sharedProd();
    std::array<float, 256> spectrum{};
    spectrum[1] = bass;
    prod.renderFrame(time, frameDelta, spectrum.data());
    glFinish();
    return readPixels(0, 0, prod.width, prod.height);
}

double meanLevel(const std::vector<std::uint8_t>& rgba)
{
    if (rgba.empty())
        return 0.0;
    double sum = 0.0;
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
        sum += rgba[i] + rgba[i + 1] + rgba[i + 2];
    return sum / (3.0 * double(rgba.size() / 4));
}

std::size_t differingBytes(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b, int tolerance)
{
    if (a.size() != b.size())
        return std::max(a.size(), b.size());
    std::size_t count = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::abs(int(a[i]) - int(b[i])) > tolerance)
            ++count;
    return count;
}

}  // namespace SceneTests
