// Names of Cg types and their GLSL counterparts.
#include "kestrane/cg/compiler/Ast.h"

namespace Kestrane::CgCompiler {

namespace {

std::string baseName(Base base) {
    switch (base) {
    case Base::Void: return "void";
    case Base::Bool: return "bool";
    case Base::Int: return "int";
    case Base::Float: return "float";
    case Base::Sampler1D: return "sampler1D";
    case Base::Sampler2D: return "sampler2D";
    case Base::Sampler3D: return "sampler3D";
    case Base::SamplerCube: return "samplerCUBE";
    case Base::SamplerRect: return "samplerRECT";
    case Base::SamplerAny: return "sampler";
    default: return "<error>";
    }
}

}  // namespace

std::string cgTypeName(const Type& type) {
    std::string name;
    if (type.base == Base::Struct) name = type.structDecl ? type.structDecl->name : "struct";
    else name = baseName(type.base);
    if (type.rows > 0) name += std::to_string(type.rows) + "x" + std::to_string(type.columns);
    else if (type.columns > 1) name += std::to_string(type.columns);
    if (type.arraySize > 0) name += "[" + std::to_string(type.arraySize) + "]";
    return name;
}

std::string glslTypeName(const Type& type) {
    switch (type.base) {
    case Base::Void: return "void";
    case Base::Struct: return type.structDecl ? type.structDecl->glslName : "<error>";
    case Base::Sampler1D: return "sampler1D";
    case Base::Sampler2D: return "sampler2D";
    case Base::Sampler3D: return "sampler3D";
    case Base::SamplerCube: return "samplerCube";
    case Base::SamplerRect: return "sampler2DRect";
    default: break;
    }
    if (type.rows == 1 || (type.rows > 0 && type.columns == 1)) {
        // One row or one column: a vector of its components (a float for 1x1).
        int n = type.rows * type.columns;
        return n == 1 ? "float" : "vec" + std::to_string(n);
    }
    if (type.rows > 0) {
        // A Cg floatRxC is kept transposed in GLSL: R columns of C components,
        // so that GLSL's m[i] is Cg's row i and constructors keep their order.
        if (type.rows == type.columns) return "mat" + std::to_string(type.rows);
        return "mat" + std::to_string(type.rows) + "x" + std::to_string(type.columns);
    }
    if (type.columns == 1) return baseName(type.base);
    std::string prefix = type.base == Base::Float ? "vec" : type.base == Base::Int ? "ivec" : "bvec";
    return prefix + std::to_string(type.columns);
}

bool holdsSampler(const Type& type) {
    if (type.base >= Base::Sampler1D && type.base <= Base::SamplerAny) return true;
    if (type.base != Base::Struct || !type.structDecl) return false;
    for (const auto& member : type.structDecl->members)
        if (holdsSampler(member->type)) return true;
    return false;
}

Type builtinType(const std::string& name) {
    static const struct {
        const char* prefix;
        Base base;
    } numeric[] = {{"float", Base::Float}, {"half", Base::Float}, {"fixed", Base::Float},
                   {"double", Base::Float}, {"int", Base::Int}, {"bool", Base::Bool}};
    if (name == "void") return Type::scalar(Base::Void);
    if (name == "sampler1D") return Type::scalar(Base::Sampler1D);
    if (name == "sampler2D") return Type::scalar(Base::Sampler2D);
    if (name == "sampler3D") return Type::scalar(Base::Sampler3D);
    if (name == "samplerCUBE") return Type::scalar(Base::SamplerCube);
    if (name == "samplerRECT") return Type::scalar(Base::SamplerRect);
    if (name == "sampler") return Type::scalar(Base::SamplerAny);
    for (const auto& n : numeric) {
        std::string prefix = n.prefix;
        if (name.compare(0, prefix.size(), prefix) != 0) continue;
        std::string rest = name.substr(prefix.size());
        auto digit = [](char c) { return c >= '1' && c <= '4' ? c - '0' : 0; };
        if (rest.empty()) return Type::scalar(n.base);
        if (rest.size() == 1 && digit(rest[0])) return Type::vector(n.base, digit(rest[0]));
        if (rest.size() == 3 && rest[1] == 'x' && digit(rest[0]) && digit(rest[2])) {
            Type t = Type::matrix(n.base, digit(rest[0]), digit(rest[2]));
            return t;
        }
    }
    return Type{};
}

}  // namespace Kestrane::CgCompiler
