// Fixture of the framework tests: one Demo per test process on the process's
// GL context, with the framework's effect shaders compiled from vessara_data/
// and both scratch pools built (they are large, so they are made once), and
// helpers to fill and read back elements.
#pragma once

#include "support/GLTest.h"

#include "vessara/Demo.h"
#include "vessara/Element.h"

#include <cstdint>
#include <string>
#include <vector>

namespace FrameworkTests {

// The shared demo: effect shaders cached, pools built, time 0.
Vessara::Demo& sharedDemo();

// An element of the shared demo whose draw() does nothing.
Vessara::Element* newElement(int width, int height, const std::string& name = "TestElement");

struct Colour {
    uint8_t r, g, b, a;
};

// Binds the element's target and clears its colour (and depth to 1).
void fill(Vessara::Element& element, float r, float g, float b, float a = 1.0f);
// Every RGBA8 pixel of the element's colour, rows bottom-up; leaves the
// element's target bound.
std::vector<uint8_t> pixelsOf(Vessara::Element& element);
// One pixel of the element's colour; leaves its target bound.
Rgba8 pixelOf(Vessara::Element& element, int x, int y);
// The frame buffer bound for drawing now.
unsigned boundFramebuffer();

::testing::AssertionResult near(const Rgba8& p, Colour c, int tolerance = 3);

class FrameworkTest : public GLTest {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace FrameworkTests
