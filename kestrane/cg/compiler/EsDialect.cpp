// GLSL 1.20 as the emitter writes it -> GLSL ES 3.00, identifier by identifier.
#include "kestrane/cg/compiler/EsDialect.h"

#include <cctype>

namespace Kestrane::CgCompiler {

namespace {

bool identStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool identChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// Lookups: the GLSL 1.20 name -> the ES 3.00 one; shadow lookups return a
// float in ES where GLSL 1.20's return a vec4, so they are wrapped in vec4().
struct Lookup {
    const char* from;
    const char* to;
    bool shadow;
};
constexpr Lookup lookups[] = {
    {"texture2D", "texture", false}, {"texture3D", "texture", false}, {"textureCube", "texture", false},
    {"texture2DProj", "textureProj", false}, {"texture3DProj", "textureProj", false},
    {"texture2DLod", "textureLod", false}, {"texture3DLod", "textureLod", false},
    {"textureCubeLod", "textureLod", false}, {"texture2DProjLod", "textureProjLod", false},
    {"texture3DProjLod", "textureProjLod", false}, {"texture2DGradARB", "textureGrad", false},
    {"texture3DGradARB", "textureGrad", false}, {"textureCubeGradARB", "textureGrad", false},
    {"texture2DProjGradARB", "textureProjGrad", false}, {"texture3DProjGradARB", "textureProjGrad", false},
    {"shadow2D", "texture", true}, {"shadow2DProj", "textureProj", true}, {"shadow2DLod", "textureLod", true},
    {"shadow2DProjLod", "textureProjLod", true}, {"shadow2DGradARB", "textureGrad", true},
    {"shadow2DProjGradARB", "textureProjGrad", true},
};

// Words of GLSL 1.20 with no GLSL ES 3.00 counterpart.
bool lacking(const std::string& word, std::string& why) {
    if (word.rfind("texture1D", 0) == 0 || word.rfind("shadow1D", 0) == 0 || word == "sampler1D" ||
        word == "sampler1DShadow") {
        why = "1D samplers and their lookups";
        return true;
    }
    if (word.rfind("texture2DRect", 0) == 0 || word.rfind("sampler2DRect", 0) == 0 || word.rfind("shadow2DRect", 0) == 0) {
        why = "rectangle samplers and their lookups";
        return true;
    }
    if (word == "gl_BackColor" || word == "gl_BackSecondaryColor") {
        why = "back colours (BCOL0, BCOL1)";
        return true;
    }
    return false;
}

}  // namespace

void EsDialect::refuse(const std::string& what) {
    if (unsupported_.empty()) unsupported_ = what;
}

std::string EsDialect::attribute(int location, const char* swizzle) {
    std::string name = "kc_attr" + std::to_string(location);
    attributes_[location] = name;
    return name + swizzle;
}

std::string EsDialect::varying(const std::string& name, const char* type) {
    varyings_[name] = type;
    return name;
}

// A built-in variable at line[at..] (its name already read): its ES
// replacement; at moves past an index "[N]" it consumes.
std::string EsDialect::builtin(const std::string& name, const std::string& line, size_t& at) {
    auto index = [&]() -> int {  // "[N]" after the name
        size_t open = at;
        if (open >= line.size() || line[open] != '[') return -1;
        size_t close = line.find(']', open);
        if (close == std::string::npos) return -1;
        std::string digits = line.substr(open + 1, close - open - 1);
        if (digits.empty() || digits.size() > 2 || !std::isdigit(static_cast<unsigned char>(digits[0])) ||
            !std::isdigit(static_cast<unsigned char>(digits.back())))
            return -1;
        at = close + 1;
        return std::stoi(digits);
    };
    const bool vertex = stage_ == Stage::Vertex;
    if (name == "gl_TexCoord") {
        int n = index();
        if (n < 0) {
            refuse("gl_TexCoord with a computed index");
            return name;
        }
        return varying("kc_texcoord" + std::to_string(n));
    }
    if (name == "gl_FogFragCoord") return varying("kc_fog", "float");
    if (vertex) {
        if (name == "gl_Vertex") return attribute(0);
        if (name == "gl_Normal") return attribute(2, ".xyz");
        if (name == "gl_Color") return attribute(3);
        if (name == "gl_SecondaryColor") return attribute(4);
        if (name == "gl_FogCoord") return attribute(5, ".x");
        if (name.rfind("gl_MultiTexCoord", 0) == 0 && name.size() == 17 && std::isdigit(static_cast<unsigned char>(name[16])))
            return attribute(8 + (name[16] - '0'));
        if (name == "gl_FrontColor") return varying("kc_color0");
        if (name == "gl_FrontSecondaryColor") return varying("kc_color1");
        return name;
    }
    if (name == "gl_Color") return varying("kc_color0");
    if (name == "gl_SecondaryColor") return varying("kc_color1");
    if (name == "gl_FragColor") {
        fragmentOutputs_[0] = "kc_frag0";
        return "kc_frag0";
    }
    if (name == "gl_FragData") {
        int n = index();
        if (n < 0) {
            refuse("gl_FragData with a computed index");
            return name;
        }
        fragmentOutputs_[n] = "kc_frag" + std::to_string(n);
        return fragmentOutputs_[n];
    }
    return name;
}

std::string EsDialect::rewrite(const std::string& line) {
    // The glue's own declarations are made again, all together, by declarations().
    for (const char* keyword : {"attribute vec4 kc_attr", "varying vec4 kc_texcoord"}) {
        std::string k = keyword;
        if (line.rfind(k, 0) == 0) {
            std::string digits = line.substr(k.size(), line.find(';') - k.size());
            if (k[0] == 'a') attribute(std::stoi(digits));
            else varying("kc_texcoord" + digits);
            return "";
        }
    }
    std::string out;
    size_t at = 0;
    while (at < line.size()) {
        char c = line[at];
        if (std::isdigit(static_cast<unsigned char>(c)) ||
            (c == '.' && at + 1 < line.size() && std::isdigit(static_cast<unsigned char>(line[at + 1])))) {
            // A number, exponent included ("1e-05"): copied as it is.
            size_t start = at++;
            while (at < line.size() && (identChar(line[at]) || line[at] == '.' ||
                                        ((line[at] == '-' || line[at] == '+') && (line[at - 1] == 'e' || line[at - 1] == 'E'))))
                ++at;
            out += line.substr(start, at - start);
            continue;
        }
        if (identStart(c)) {
            size_t start = at;
            while (at < line.size() && identChar(line[at])) ++at;
            std::string word = line.substr(start, at - start);
            std::string why;
            if (lacking(word, why)) {
                refuse("'" + word + "' (GLSL ES 3.00 has no " + why + ")");
                out += word;
                continue;
            }
            if (word == "attribute") {
                out += "in";
                continue;
            }
            if (word == "varying") {
                out += stage_ == Stage::Vertex ? "out" : "in";
                continue;
            }
            if (word.rfind("gl_", 0) == 0) {
                out += builtin(word, line, at);
                continue;
            }
            bool replaced = false;
            for (const Lookup& l : lookups) {
                if (word != l.from) continue;
                if (l.shadow) {
                    out += "vec4(";
                    closeAt_.push_back(depth_);
                }
                out += l.to;
                replaced = true;
                break;
            }
            if (!replaced) out += word;
            continue;
        }
        out += c;
        ++at;
        if (c == '(') {
            ++depth_;
        } else if (c == ')') {
            --depth_;
            if (!closeAt_.empty() && closeAt_.back() == depth_) {
                out += ')';
                closeAt_.pop_back();
            }
        }
    }
    return out;
}

std::vector<std::string> EsDialect::declarations() const {
    std::vector<std::string> lines;
    for (const auto& [location, name] : attributes_)
        lines.push_back("layout(location = " + std::to_string(location) + ") in vec4 " + name + ";");
    for (const auto& [name, type] : varyings_)
        lines.push_back(std::string(stage_ == Stage::Vertex ? "out " : "in ") + type + " " + name + ";");
    for (const auto& [location, name] : fragmentOutputs_)
        lines.push_back("layout(location = " + std::to_string(location) + ") out vec4 " + name + ";");
    return lines;
}

}  // namespace Kestrane::CgCompiler
