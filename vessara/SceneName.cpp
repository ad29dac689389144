#include "vessara/SceneName.h"

#include "vessara/Demo.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

namespace Vessara {

std::string sceneName(const Demo& demo, const Drawable* drawable)
{
    if (!drawable)
        return "none";
    int status = 0;
    const char* mangled = typeid(*drawable).name();
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string type = status == 0 && demangled ? demangled.get() : mangled;
    if (type == "Vessara::Element") {
        for (const auto& [name, registered] : demo.cache)
            if (registered == drawable)
                return name + " (placeholder)";
        return "placeholder";
    }
    if (const auto colons = type.rfind("::"); colons != std::string::npos)
        type = type.substr(colons + 2);
    return type;
}

}  // namespace Vessara
