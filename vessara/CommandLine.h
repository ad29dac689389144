// The command-line conventions shared by the show's programs (vessara,
// vessara-wide) and the capture tool: options are "--name VALUE" or
// "--name=VALUE", numbers are checked against a range, and every problem is
// reported as one line naming the option. The programs print that line and
// their usage, and exit with status 2.
//
// Use, walking the arguments (without the program name) with an index i:
//   Option option = splitOption(args[i])
//                       the option's name and, for "--name=VALUE", its value.
//   takeValue(args, i, option, value, error)
//                       the value of an option that needs one: the inline one,
//                       or the next argument (i then steps over it).
//   refuseValue(option, error)
//                       false with a reason when a flag was given "=VALUE".
//   parseNumber(option, text, low, high, lowIncluded, result, error)
//                       a finite number in [low, high] ((low, high] when
//                       lowIncluded is false), the whole text and nothing else.
//   formatNumber(x)     x as "%g" prints it, for messages.
// Pure functions: no I/O.
#pragma once

#include <string>
#include <vector>

namespace Vessara {

struct Option {
    std::string name;
    std::string value;
    bool inlineValue = false;
};

Option splitOption(const std::string& argument);
bool takeValue(const std::vector<std::string>& args, std::size_t& i, const Option& option, std::string& value,
               std::string& error);
bool refuseValue(const Option& option, std::string& error);
bool parseNumber(const std::string& option, const std::string& text, double low, double high, bool lowIncluded,
                 double& result, std::string& error);
std::string formatNumber(double value);

}  // namespace Vessara
