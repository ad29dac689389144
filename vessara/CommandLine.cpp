#include "vessara/CommandLine.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Vessara {

Option splitOption(const std::string& argument)
{
    Option option{argument, {}, false};
    if (const auto equals = argument.find('='); argument.rfind("--", 0) == 0 && equals != std::string::npos) {
        option.name = argument.substr(0, equals);
        option.value = argument.substr(equals + 1);
        option.inlineValue = true;
    }
    return option;
}

bool takeValue(const std::vector<std::string>& args, std::size_t& i, const Option& option, std::string& value,
               std::string& error)
{
    if (option.inlineValue) {
        value = option.value;
        return true;
    }
    if (i + 1 >= args.size()) {
        error = option.name + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool refuseValue(const Option& option, std::string& error)
{
    if (!option.inlineValue)
        return true;
    error = option.name + " takes no value";
    return false;
}

std::string formatNumber(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool parseNumber(const std::string& option, const std::string& text, double low, double high, bool lowIncluded,
                 double& result, std::string& error)
{
    char* end = nullptr;
    const double parsed = std::strtod(text.c_str(), &end);
    const bool inRange = lowIncluded ? parsed >= low : parsed > low;
    if (text.empty() || *end != '\0' || !std::isfinite(parsed) || !inRange || parsed > high) {
        error = option + " wants a number " + (lowIncluded ? "from " : "above ") + formatNumber(low) + " to " +
                formatNumber(high) + ", not \"" + text + "\"";
        return false;
    }
    result = parsed;
    return true;
}

}  // namespace Vessara
