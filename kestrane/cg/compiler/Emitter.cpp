// Emitter: names, top-level declarations, statements and the final text.
#include "kestrane/cg/compiler/Emitter.h"

#include "kestrane/cg/compiler/Checker.h"
#include "kestrane/cg/compiler/EsDialect.h"
#include "kestrane/cg/compiler/Intrinsics.h"

#include <algorithm>
#include <string_view>

namespace Kestrane::CgCompiler {

namespace {

// GLSL 1.20 keywords, reserved words and built-in functions, plus words later
// versions reserve: a Cg name equal to one of these is renamed.
constexpr std::string_view reservedWords[] = {
    "attribute", "const", "uniform", "varying", "centroid", "break", "continue", "do", "for", "while",
    "if", "else", "in", "out", "inout", "float", "int", "void", "bool", "true", "false", "invariant",
    "discard", "return", "mat2", "mat3", "mat4", "mat2x2", "mat2x3", "mat2x4", "mat3x2", "mat3x3",
    "mat3x4", "mat4x2", "mat4x3", "mat4x4", "vec2", "vec3", "vec4", "ivec2", "ivec3", "ivec4", "bvec2",
    "bvec3", "bvec4", "sampler1D", "sampler2D", "sampler3D", "samplerCube", "sampler1DShadow",
    "sampler2DShadow", "struct", "asm", "class", "union", "enum", "typedef", "template", "this",
    "packed", "goto", "switch", "default", "case", "inline", "noinline", "volatile", "public", "static",
    "extern", "external", "interface", "long", "short", "double", "half", "fixed", "unsigned", "lowp",
    "mediump", "highp", "precision", "input", "output", "hvec2", "hvec3", "hvec4", "dvec2", "dvec3",
    "dvec4", "fvec2", "fvec3", "fvec4", "sampler2DRect", "sampler3DRect", "sampler2DRectShadow",
    "sizeof", "cast", "namespace", "using", "flat", "smooth", "noperspective", "layout", "uint",
    "uvec2", "uvec3", "uvec4", "sample", "patch", "subroutine", "common", "partition", "active",
    "filter", "superp", "buffer", "shared", "coherent", "restrict", "readonly", "writeonly", "precise",
    "resource", "texture", "main",
    "radians", "degrees", "sin", "cos", "tan", "asin", "acos", "atan", "pow", "exp", "log", "exp2",
    "log2", "sqrt", "inversesqrt", "abs", "sign", "floor", "ceil", "fract", "mod", "min", "max",
    "clamp", "mix", "step", "smoothstep", "length", "distance", "dot", "cross", "normalize",
    "ftransform", "faceforward", "reflect", "refract", "matrixCompMult", "outerProduct", "transpose",
    "lessThan", "lessThanEqual", "greaterThan", "greaterThanEqual", "equal", "notEqual", "any", "all",
    "not", "texture1D", "texture1DProj", "texture1DLod", "texture1DProjLod", "texture2D",
    "texture2DProj", "texture2DLod", "texture2DProjLod", "texture3D", "texture3DProj", "texture3DLod",
    "texture3DProjLod", "textureCube", "textureCubeLod", "shadow1D", "shadow2D", "shadow1DProj",
    "shadow2DProj", "shadow1DLod", "shadow2DLod", "shadow1DProjLod", "shadow2DProjLod", "dFdx", "dFdy",
    "fwidth", "noise1", "noise2", "noise3", "noise4",
};

// Built-in functions and words of GLSL ES 3.00 that GLSL 1.20 lacks.
constexpr std::string_view esWords[] = {
    "textureLod", "textureProj", "textureProjLod", "textureGrad", "textureProjGrad", "textureSize",
    "texelFetch", "texelFetchOffset", "textureOffset", "textureLodOffset", "textureProjOffset",
    "textureGradOffset", "textureProjLodOffset", "textureProjGradOffset", "round", "roundEven", "trunc",
    "modf", "isnan", "isinf", "sinh", "cosh", "tanh", "asinh", "acosh", "atanh", "inverse", "determinant",
    "floatBitsToInt", "floatBitsToUint", "intBitsToFloat", "uintBitsToFloat", "packSnorm2x16",
    "unpackSnorm2x16", "packUnorm2x16", "unpackUnorm2x16", "packHalf2x16", "unpackHalf2x16",
    "sampler2DArray", "isampler2D", "usampler2D", "samplerCubeShadow", "sampler2DArrayShadow",
};

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string indentation(int indent) { return std::string(static_cast<size_t>(indent) * 4, ' '); }

}  // namespace

Emitter::Emitter(Program& program, FuncDecl& entry, Stage stage, std::string uniformPrefix, Diagnostics& diagnostics,
                 Target target)
    : program_(program), entry_(entry), stage_(stage), target_(target), prefix_(std::move(uniformPrefix)),
      diagnostics_(diagnostics) {}

// A Cg identifier as a GLSL identifier. Names GLSL reserves, names in the
// compiler's own spaces (gl_, kc_, cg_, the uniform prefix) and names with
// "__" get the prefix "cg_" (and "__" becomes "_0"), which keeps them distinct.
std::string Emitter::ident(const std::string& name) const {
    bool rename = startsWith(name, "gl_") || startsWith(name, "kc_") || startsWith(name, "cg_") ||
                  (!prefix_.empty() && startsWith(name, prefix_)) || name.find("__") != std::string::npos ||
                  std::find(std::begin(reservedWords), std::end(reservedWords), name) != std::end(reservedWords) ||
                  (target_ == Target::Es300 &&
                   std::find(std::begin(esWords), std::end(esWords), name) != std::end(esWords));
    if (!rename) return name;
    std::string out = "cg_";
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '_' && i + 1 < name.size() && name[i + 1] == '_') {
            out += "_0";
            ++i;
        } else {
            out += name[i];
        }
    }
    return out;
}

std::string Emitter::varName(const VarDecl& var) const { return var.glslName.empty() ? ident(var.name) : var.glslName; }

std::string Emitter::declaration(const Type& type, const std::string& name, bool shadow) const {
    std::string typeName = glslTypeName(type);
    if (type.base == Base::SamplerRect) textureRect_ = true;
    if (shadow && (type.base == Base::Sampler1D || type.base == Base::Sampler2D || type.base == Base::SamplerRect))
        typeName += "Shadow";
    std::string text = typeName + " " + name;
    if (type.isArray()) text += "[" + std::to_string(type.arraySize) + "]";
    return text;
}

void Emitter::assignNames() {
    for (auto& s : program_.structs) {
        s->glslName = ident(s->name);
        for (auto& m : s->members) m->glslName = ident(m->name);
    }
    for (auto& g : program_.globals) {
        g->glslName = g->storage == Storage::GlobalUniform && !prefix_.empty() ? prefix_ + g->name : ident(g->name);
    }
    std::map<std::string, int> definitions;
    for (auto& f : program_.functions)
        if (f->body) ++definitions[f->name];
    std::map<std::string, int> seen;
    for (auto& f : program_.functions) {
        if (!f->body) continue;
        std::string name = ident(f->name);
        if (definitions[f->name] > 1) name += "_" + std::to_string(seen[f->name]++);
        f->glslName = name;
        for (auto& p : f->params) {
            bool uniform = p->storage == Storage::EntryUniform || p->splitStruct;
            p->glslName = uniform && !prefix_.empty() ? prefix_ + p->name : ident(p->name);
        }
    }
}

namespace {

// Bounds the parameters that arrays of structs flatten into (GL drivers
// take a few thousand uniform components at most).
constexpr size_t maxParameters = 16384;

BaseType uniformBase(Base base) {
    switch (base) {
    case Base::Int: return BaseType::Int;
    case Base::Bool: return BaseType::Bool;
    case Base::Sampler1D: return BaseType::Sampler1D;
    case Base::Sampler2D: return BaseType::Sampler2D;
    case Base::Sampler3D: return BaseType::Sampler3D;
    case Base::SamplerCube: return BaseType::SamplerCube;
    case Base::SamplerRect: return BaseType::SamplerRect;
    default: return BaseType::Float;
    }
}

// The parameters of a uniform: one, or for a struct one per member at any
// depth, named "IN.size" in Cg and "fp_IN.size" in GLSL; an array of structs
// one per member of each element ("lights[1].color").
void flattenUniform(const std::string& cgName, const std::string& glslName, const Type& type, bool referenced,
                    std::vector<Uniform>& out) {
    if (type.base == Base::Struct && type.structDecl && type.isArray()) {
        for (int i = 0; i < type.arraySize && out.size() <= maxParameters; ++i) {
            const std::string index = "[" + std::to_string(i) + "]";
            flattenUniform(cgName + index, glslName + index, type.element(), referenced, out);
        }
        return;
    }
    if (type.base == Base::Struct && type.structDecl) {
        for (const auto& m : type.structDecl->members)
            flattenUniform(cgName + "." + m->name, glslName + "." + m->glslName, m->type, referenced, out);
        return;
    }
    Uniform u;
    u.cgName = cgName;
    u.glslName = glslName;
    Type element = type.element();
    u.base = uniformBase(element.base);
    u.rows = element.rows;
    u.columns = element.columns;
    u.arraySize = type.arraySize;
    u.referenced = referenced;
    out.push_back(u);
}

}  // namespace

namespace {

// The numbers of a constant made of literals, constructors, lists, casts and
// negations, in Cg's order (a one-number part stands for all its
// components: the caller fits it). False for anything else.
bool constantValues(const Expr& e, std::vector<float>& out) {
    switch (e.kind) {
    case ExprKind::IntLit: out.push_back(static_cast<float>(e.intValue)); return true;
    case ExprKind::FloatLit: out.push_back(static_cast<float>(e.floatValue)); return true;
    case ExprKind::BoolLit: out.push_back(e.intValue ? 1.0f : 0.0f); return true;
    case ExprKind::Unary: {
        if (e.op != Tok::Minus && e.op != Tok::Plus) return false;
        size_t from = out.size();
        if (!constantValues(*e.args[0], out)) return false;
        if (e.op == Tok::Minus)
            for (size_t i = from; i < out.size(); ++i) out[i] = -out[i];
        return true;
    }
    case ExprKind::Convert:
    case ExprKind::Cast: {
        size_t from = out.size();
        if (!constantValues(*e.args[0], out)) return false;
        if (out.size() - from == 1)  // a scalar made into a vector or matrix
            out.insert(out.end(), static_cast<size_t>(e.type.components() - 1), out.back());
        return true;
    }
    case ExprKind::Construct:
    case ExprKind::InitList: {
        size_t from = out.size();
        for (const ExprPtr& a : e.args)
            if (!constantValues(*a, out)) return false;
        if (out.size() - from == 1 && e.type.components() > 1)
            out.insert(out.end(), static_cast<size_t>(e.type.components() - 1), out.back());
        return true;
    }
    default:
        return false;
    }
}

// values as count numbers: one number stands for all of them.
bool fitValues(std::vector<float>& values, int count) {
    if (values.size() == 1 && count > 1) values.assign(static_cast<size_t>(count), values[0]);
    return static_cast<int>(values.size()) == count;
}

}  // namespace

void Emitter::emitUniforms(Result& result) {
    auto add = [&](const VarDecl& var) {
        for (const Uniform& other : result.uniforms) {
            if (other.cgName == var.name || other.cgName.rfind(var.name + ".", 0) == 0 ||
                other.cgName.rfind(var.name + "[", 0) == 0) {
                error(var.pos, "uniform '" + var.name + "' is declared twice");
                return;
            }
        }
        if (var.splitStruct) {
            for (const auto& m : var.type.structDecl->members)
                if (m->uniformQualifier)
                    flattenUniform(var.name + "." + m->name, var.glslName + "." + m->glslName, m->type, var.referenced,
                                   result.uniforms);
        } else {
            flattenUniform(var.name, var.glslName, var.type, var.referenced, result.uniforms);
        }
        if (result.uniforms.size() > maxParameters) {
            error(var.pos, "uniform '" + var.name + "' has more than " + std::to_string(maxParameters) + " members");
            return;
        }
        if (!var.referenced) return;
        // The GLSL uniform of a matrix holds the mathematical matrix (uploaded
        // row-major with transpose), so its type is the untransposed one.
        Type declared = var.type;
        if (declared.isMatrix() || declared.element().isMatrix()) std::swap(declared.rows, declared.columns);
        std::string text = "uniform " + declaration(declared, var.glslName, var.shadow);
        if (var.init && target_ == Target::Es300) {
            // GLSL ES uniforms have no initializers: the runtime sets the default.
            std::vector<float> values;
            if (!constantValues(*var.init, values) || !fitValues(values, var.type.components() * std::max(var.type.arraySize, 1))) {
                error(var.pos, "the default value of uniform '" + var.name +
                                   "' must be made of numbers for GLSL ES, where the runtime sets it");
                return;
            }
            for (Uniform& u : result.uniforms)
                if (u.cgName == var.name) u.defaultValue = values;
        } else if (var.init) {
            // A matrix default is written in Cg's (transposed) storage order.
            if (var.type.isMatrix()) {
                std::string value = matrixDefault(*var.init, declared);
                if (value.empty()) {
                    error(var.pos, "the default value of matrix uniform '" + var.name + "' must be a constructor or an initializer list");
                    return;
                }
                text += " = " + value;
            } else if (var.type.element().isMatrix()) {
                error(var.pos, "default values of matrix array uniforms are not supported");
                return;
            } else text += " = " + expr(*var.init, true);
        }
        declarations_.push_back({text + ";", var.pos});
        if (var.writtenUniform) {
            // The program's own copy, in Cg's storage order, set at the start of main().
            declarations_.push_back({declaration(var.type, uniformCopy(var)) + ";", var.pos});
            std::string value = var.glslName;
            if (var.type.isMatrix()) value = "transpose(" + value + ")";
            else if (var.type.element().isMatrix()) error(var.pos, "an array of uniform matrices cannot be assigned to");
            uniformCopies_.push_back({"    " + uniformCopy(var) + " = " + value + ";", var.pos});
        }
    };
    for (auto& g : program_.globals)
        if (g->storage == Storage::GlobalUniform) add(*g);
    for (auto& p : entry_.params)
        if (p->storage == Storage::EntryUniform || p->splitStruct) add(*p);
}

// The default value of a uniform matrix as a constant GLSL constructor of
// the mathematical matrix (declared: the GLSL uniform's type, C columns of R
// rows): the Cg elements, row by row, are written column by column. Empty when
// init is not a constructor or list of scalars and vectors.
std::string Emitter::matrixDefault(const Expr& init, const Type& declared) {
    const Expr* list = &init;
    while (list->kind == ExprKind::Convert || list->kind == ExprKind::Cast) list = list->args[0].get();
    if (list->kind != ExprKind::Construct && list->kind != ExprKind::InitList) return "";
    std::vector<std::string> elements;
    for (const ExprPtr& a : list->args) {
        if (a->type.isScalar()) {
            elements.push_back(convert(*a, Type::scalar(Base::Float)));
        } else if (a->type.isVector()) {
            std::string v = "vec" + std::to_string(a->type.columns) + "(" + expr(*a, true) + ")";
            for (int k = 0; k < a->type.columns; ++k) elements.push_back(v + "." + "xyzw"[k]);
        } else {
            return "";
        }
    }
    int rows = declared.columns, columns = declared.rows;  // Cg's shape
    if (static_cast<int>(elements.size()) != rows * columns) return "";
    std::string text;
    for (int c = 0; c < columns; ++c)
        for (int r = 0; r < rows; ++r) text += (text.empty() ? "" : ", ") + elements[static_cast<size_t>(r * columns + c)];
    return glslTypeName(declared) + "(" + text + ")";
}

void Emitter::emitStatics() {
    for (auto& g : program_.globals) {
        if (g->storage != Storage::GlobalStatic || !g->referenced) continue;
        // GLSL const needs a constant initializer; any other static is
        // initialized at the start of main(), in declaration order.
        bool asConst = g->isConst && g->constantInit;
        std::string text = (asConst ? "const " : "") + declaration(g->type, g->glslName);
        if (asConst) text += " = " + expr(*g->init, true);
        declarations_.push_back({text + ";", g->pos});
    }
}

std::string Emitter::signature(const FuncDecl& func) const {
    std::string text = declaration(func.returnType, func.glslName) + "(";
    bool first = true;
    for (auto& p : func.params) {
        if (p->storage == Storage::EntryUniform || p->splitStruct) continue;
        if (!first) text += ", ";
        first = false;
        if (p->mode == ParamMode::Out) text += "out ";
        if (p->mode == ParamMode::InOut) text += "inout ";
        text += declaration(p->type, p->glslName, p->shadow);
        if (p->needsSize && p->type.isSampler()) text += ", vec4 kc_size_" + p->glslName;
    }
    return text + ")";
}

void Emitter::emitFunction(const FuncDecl& func, bool prototype) {
    if (func.returnType.isArray()) {
        error(func.pos, "functions returning arrays are not supported");
        return;
    }
    if (prototype) {
        declarations_.push_back({signature(func) + ";", func.pos});
        return;
    }
    functions_.push_back({"", func.pos});
    functions_.push_back({signature(func), func.pos});
    body(*func.body, 0, functions_);
}

void Emitter::body(const Stmt& s, int indent, Lines& out) {
    out.push_back({indentation(indent) + "{", s.pos});
    if (s.kind == StmtKind::Block) {
        for (auto& child : s.body) stmt(*child, indent + 1, out);
    } else {
        stmt(s, indent + 1, out);
    }
    out.push_back({indentation(indent) + "}", s.pos});
}

std::string Emitter::declarators(const Stmt& s) {
    std::string text;
    for (auto& var : s.decls) {
        var->glslName = ident(var->name);
        std::string one = var->glslName;
        if (var->type.isArray()) one += "[" + std::to_string(var->type.arraySize) + "]";
        if (var->init) one += " = " + expr(*var->init, true);
        text += text.empty() ? glslTypeName(var->type) + " " + one : ", " + one;
    }
    return text;
}

void Emitter::stmt(const Stmt& s, int indent, Lines& out) {
    std::string pad = indentation(indent);
    SourcePos line = s.pos;
    switch (s.kind) {
    case StmtKind::Block:
        body(s, indent, out);
        break;
    case StmtKind::Decl:
        // One declaration per line: an array among scalars needs its own type.
        for (auto& var : s.decls) {
            var->glslName = ident(var->name);
            std::string text = declaration(var->type, var->glslName);
            if (var->init) text += " = " + expr(*var->init, true);
            out.push_back({pad + text + ";", var->pos});
        }
        break;
    case StmtKind::Expr:
        out.push_back({pad + expr(*s.expr, true) + ";", line});
        break;
    case StmtKind::If:
        out.push_back({pad + "if (" + expr(*s.cond, true) + ")", line});
        body(*s.then, indent, out);
        if (s.otherwise) {
            out.push_back({pad + "else", s.otherwise->pos});
            body(*s.otherwise, indent, out);
        }
        break;
    case StmtKind::For: {
        std::string init;
        if (s.init->kind == StmtKind::Decl) init = declarators(*s.init);
        else if (s.init->kind == StmtKind::Expr) init = expr(*s.init->expr, true);
        std::string cond = s.cond ? expr(*s.cond, true) : "";
        std::string step = s.step ? expr(*s.step, true) : "";
        out.push_back({pad + "for (" + init + "; " + cond + "; " + step + ")", line});
        body(*s.then, indent, out);
        break;
    }
    case StmtKind::While:
        out.push_back({pad + "while (" + expr(*s.cond, true) + ")", line});
        body(*s.then, indent, out);
        break;
    case StmtKind::Do:
        out.push_back({pad + "do", line});
        body(*s.then, indent, out);
        out.push_back({pad + "while (" + expr(*s.cond, true) + ");", s.cond->pos});
        break;
    case StmtKind::Return:
        out.push_back({pad + (s.expr ? "return " + expr(*s.expr, true) + ";" : "return;"), line});
        break;
    case StmtKind::Break: out.push_back({pad + "break;", line}); break;
    case StmtKind::Continue: out.push_back({pad + "continue;", line}); break;
    case StmtKind::Discard: out.push_back({pad + "discard;", line}); break;
    case StmtKind::Empty: break;
    }
}

bool Emitter::run(Result& result) {
    assignNames();
    // Structs first: uniforms, statics and functions may be of struct types.
    for (auto& s : program_.structs) {
        declarations_.push_back({"struct " + s->glslName, s->pos});
        declarations_.push_back({"{", s->pos});
        for (auto& m : s->members)
            declarations_.push_back({"    " + declaration(m->type, m->glslName, m->shadow) + ";", m->pos});
        declarations_.push_back({"};", s->pos});
    }
    emitUniforms(result);
    emitStatics();
    std::vector<const FuncDecl*> reachable;
    for (auto& f : program_.functions)
        if (f->body && f->reachable) reachable.push_back(f.get());
    for (const FuncDecl* f : reachable) emitFunction(*f, true);
    for (const FuncDecl* f : reachable) emitFunction(*f, false);
    emitMain(result);
    for (const auto& [cgName, glslName] : sizeUniforms_) {
        declarations_.push_back({"uniform vec4 " + glslName + ";", SourcePos{}});
        for (Uniform& u : result.uniforms)
            if (u.cgName == cgName) u.sizeGlslName = glslName;
    }
    if (diagnostics_.hasErrors()) return false;

    if (target_ == Target::Es300) header_.push_back({"#version 300 es", SourcePos{}});
    else header_.push_back({"#version 120", SourcePos{}});
    if (target_ == Target::Es300) {
        // Lookups with a level or derivatives are part of GLSL ES 3.00.
    } else if (textureLod_ || textureGrad_)
        header_.push_back({"#extension GL_ARB_shader_texture_lod : require", SourcePos{}});
    if (textureRect_) header_.push_back({"#extension GL_ARB_texture_rectangle : require", SourcePos{}});
    for (const std::string& helper : helpers_) {
        std::string_view source = helperSource(helper);
        size_t start = 0;
        while (start < source.size()) {
            size_t end = source.find('\n', start);
            if (end == std::string_view::npos) end = source.size();
            header_.push_back({std::string(source.substr(start, end - start)), SourcePos{}});
            start = end + 1;
        }
    }
    for (const auto& [name, source] : generatedHelpers_) header_.push_back({source, SourcePos{}});
    if (target_ == Target::Es300) finishEs(result);
    if (diagnostics_.hasErrors()) return false;
    std::string& glsl = result.glsl;
    for (const Lines* section : {&header_, &declarations_, &functions_, &main_}) {
        for (const Line& line : *section) {
            glsl += line.text;
            glsl += '\n';
            result.glslLineToCgLine.push_back(line.cg.line);
            result.glslLineToCgFile.push_back(line.cg.file);
        }
    }
    if (target_ == Target::Glsl120)
        for (const auto& [location, name] : attributes_) result.attributes.push_back({name, location});
    return true;
}

// GLSL ES 3.00: every line in the ES dialect, then the precisions and the
// inputs and outputs the lines use, after the version line.
void Emitter::finishEs(Result& result) {
    EsDialect es(stage_);
    for (Lines* section : {&header_, &declarations_, &functions_, &main_})
        for (Line& line : *section)
            if (line.text.rfind("#version", 0) != 0 && line.text.rfind("#extension", 0) != 0) line.text = es.rewrite(line.text);
    if (!es.unsupported().empty()) {
        error(entry_.pos, "this program cannot be written in GLSL ES 3.00: it uses " + es.unsupported());
        return;
    }
    if (textureRect_) error(entry_.pos, "this program cannot be written in GLSL ES 3.00: it uses a rectangle sampler");
    Lines declarations{{"precision highp float;", SourcePos{}}, {"precision highp int;", SourcePos{}},
                       {"precision highp sampler3D;", SourcePos{}}, {"precision highp sampler2DShadow;", SourcePos{}}};
    for (const std::string& text : es.declarations()) declarations.push_back({text, SourcePos{}});
    header_.erase(std::remove_if(header_.begin(), header_.end(),
                                 [](const Line& l) { return l.text.rfind("#extension", 0) == 0; }),
                  header_.end());
    header_.insert(header_.begin() + 1, declarations.begin(), declarations.end());
    for (Lines* section : {&header_, &declarations_, &functions_, &main_})
        section->erase(std::remove_if(section->begin(), section->end(), [](const Line& l) { return l.text.empty(); }),
                       section->end());
    for (const auto& [location, name] : es.attributes()) result.attributes.push_back({name, location});
}

}  // namespace Kestrane::CgCompiler
