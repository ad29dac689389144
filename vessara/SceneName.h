// The name a timeline entry's drawable goes by in reports (the capture
// tool's benchmark, the maker's mode's status line): its class without the
// namespace ("Pils" for a Prod::Pils). A plain element stands in for a scene
// not written yet and is shown by the name it registered under, when that
// name is its own: "Name (placeholder)", else "placeholder".
#pragma once

#include <string>

namespace Vessara {

class Demo;
class Drawable;

std::string sceneName(const Demo& demo, const Drawable* drawable);

}  // namespace Vessara
