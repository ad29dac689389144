// Emitter: expressions. Matrices are kept transposed in GLSL (a Cg floatRxC
// is a GLSL matrix of R columns), so indexing and constructors keep Cg's
// row-major order and mul() swaps its operands; a uniform matrix holds the
// mathematical matrix and reads as transpose(u) except where mul() can use it
// directly.
#include "kestrane/cg/compiler/Checker.h"
#include "kestrane/cg/compiler/Emitter.h"
#include "kestrane/cg/compiler/Intrinsics.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Kestrane::CgCompiler {

namespace {

// The shortest text that reads back as the same single-precision value.
std::string floatText(double v) {
    char buffer[64];
    float target = static_cast<float>(v);
    for (int digits = 6; digits <= 9; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*g", digits, static_cast<double>(target));
        if (static_cast<float>(std::strtod(buffer, nullptr)) == target) break;
    }
    std::string text = buffer;
    if (text.find_first_of(".e") == std::string::npos) text += ".0";
    return text;
}

// GLSL 1.20 has no bitwise operators: helpers compute them bit by bit.
const char* bitwiseHelper(Tok op) {
    switch (op) {
    case Tok::Amp: return "kc_bitand";
    case Tok::Pipe: return "kc_bitor";
    case Tok::Caret: return "kc_bitxor";
    case Tok::Shl: return "kc_shl";
    case Tok::Shr: return "kc_shr";
    default: return nullptr;
    }
}

std::string binaryFunction(Tok op) {
    switch (op) {
    case Tok::Less: return "lessThan";
    case Tok::Greater: return "greaterThan";
    case Tok::LessEq: return "lessThanEqual";
    case Tok::GreaterEq: return "greaterThanEqual";
    case Tok::Eq: return "equal";
    case Tok::NotEq: return "notEqual";
    default: return "";
    }
}

// A uniform read from the GLSL uniform itself (not a written uniform's copy).
bool isUniform(const VarDecl* var) {
    return var && (var->storage == Storage::GlobalUniform || var->storage == Storage::EntryUniform) &&
           !var->writtenUniform;
}

}  // namespace

std::string Emitter::literal(const Expr& e, Base base) {
    double value = e.kind == ExprKind::FloatLit ? e.floatValue : static_cast<double>(e.intValue);
    std::string text;
    switch (base) {
    case Base::Float: text = floatText(value); break;
    case Base::Bool: return value != 0.0 ? "true" : "false";
    default:
        if (std::fabs(value) >= 2147483647.0) return "int(" + floatText(value) + ")";
        text = std::to_string(static_cast<long long>(std::trunc(value)));
        break;
    }
    return text[0] == '-' ? "(" + text + ")" : text;
}

std::string Emitter::args(const Expr& e, size_t from) {
    std::string text;
    for (size_t i = from; i < e.args.size(); ++i) text += (i > from ? ", " : "") + expr(*e.args[i], true);
    return text;
}

// The GLSL text for inner converted to type to (a Cg implicit conversion or cast).
std::string Emitter::convert(const Expr& inner, const Type& to) {
    const Type& from = inner.type;
    bool literal = inner.kind == ExprKind::IntLit || inner.kind == ExprKind::FloatLit || inner.kind == ExprKind::BoolLit;
    if (from.isScalar() && literal && !(to.isMatrix() && !to.isThinMatrix())) {
        std::string text = this->literal(inner, to.base);
        return to.isScalar() ? text : glslTypeName(to) + "(" + text + ")";
    }
    std::string text = expr(inner);
    if (from == to) return text;
    if (from.isScalar() && to.isMatrix() && !to.isThinMatrix()) {
        // Every element, not GLSL's diagonal matrix.
        std::string all;
        for (int i = 0; i < to.components(); ++i) all += (i ? ", " : "") + convert(inner, Type::scalar(to.base));
        return glslTypeName(to) + "(" + all + ")";
    }
    if (from.isScalar()) return glslTypeName(to) + "(" + text + ")";
    if (from.isVector() && !to.isMatrix()) {
        std::string swizzle = to.columns < from.columns ? "." + std::string("xyzw").substr(0, static_cast<size_t>(to.columns)) : "";
        std::string value = text + swizzle;
        return from.base == to.base ? value : glslTypeName(to) + "(" + value + ")";
    }
    // Matrix to a smaller matrix: GLSL keeps the leading columns and rows,
    // which in the transposed storage are Cg's leading rows and columns.
    return glslTypeName(to) + "(" + text + ")";
}

std::string Emitter::expr(const Expr& e, bool top) {
    auto group = [top](const std::string& text) { return top ? text : "(" + text + ")"; };
    switch (e.kind) {
    case ExprKind::IntLit: return literal(e, Base::Int);
    case ExprKind::FloatLit: return literal(e, Base::Float);
    case ExprKind::BoolLit: return literal(e, Base::Bool);
    case ExprKind::Name: {
        if (e.var->splitStruct) error(e.pos, "input '" + e.var->name + "' has uniform members: use it through its members only");
        std::string name = e.var->writtenUniform ? uniformCopy(*e.var) : varName(*e.var);
        if (isUniform(e.var) && e.type.isMatrix()) return "transpose(" + name + ")";
        if (isUniform(e.var) && e.type.isArray() && e.type.element().isMatrix())
            error(e.pos, "an array of uniform matrices can only be indexed");
        return name;
    }
    case ExprKind::Unary: {
        const Expr& operand = *e.args[0];
        if (e.op == Tok::Not && e.type.isVector()) return "not(" + expr(operand, true) + ")";
        if (e.op == Tok::Tilde) return group("-" + expr(operand) + " - 1");  // two's complement
        return group(std::string(spelling(e.op)) + expr(operand));
    }
    case ExprKind::Postfix:
        return group(expr(*e.args[0]) + std::string(spelling(e.op)));
    case ExprKind::Binary: {
        const Expr& a = *e.args[0];
        const Expr& b = *e.args[1];
        if (e.op == Tok::Percent) {
            std::string helper = a.type.base == Base::Float ? "kc_fmod" : "kc_imod";
            useHelper(helper);
            return helper + "(" + expr(a, true) + ", " + expr(b, true) + ")";
        }
        if (const char* bitwise = bitwiseHelper(e.op)) {
            useHelper("kc_bitwise");
            return std::string(bitwise) + "(" + expr(a, true) + ", " + expr(b, true) + ")";
        }
        if ((e.op == Tok::AndAnd || e.op == Tok::OrOr) && e.type.isVector()) {
            std::string helper = e.op == Tok::AndAnd ? "kc_and" : "kc_or";
            useHelper(helper);
            return helper + "(" + expr(a, true) + ", " + expr(b, true) + ")";
        }
        if (e.op == Tok::Star && a.type.isMatrix() && b.type.isMatrix() && !a.type.isThinMatrix())
            return "matrixCompMult(" + expr(a, true) + ", " + expr(b, true) + ")";
        std::string function = binaryFunction(e.op);
        if (!function.empty() && a.type.isVector()) return function + "(" + expr(a, true) + ", " + expr(b, true) + ")";
        return group(expr(a) + " " + std::string(spelling(e.op)) + " " + expr(b));
    }
    case ExprKind::Assign:
        return group(expr(*e.args[0]) + " " + std::string(spelling(e.op)) + " " + expr(*e.args[1], true));
    case ExprKind::Ternary:
        if (e.intValue) {
            useHelper("kc_select");
            return "kc_select(" + args(e) + ")";
        }
        return group(expr(*e.args[0]) + " ? " + expr(*e.args[1]) + " : " + expr(*e.args[2]));
    case ExprKind::Call:
        return e.func ? call(e) : intrinsic(e);
    case ExprKind::Construct:
        if (e.type.isArray())
            return glslTypeName(e.type) + "[" + std::to_string(e.type.arraySize) + "](" + args(e) + ")";
        if (e.args.size() == 1 && e.args[0]->type == e.type) return expr(*e.args[0], top);
        return glslTypeName(e.type) + "(" + args(e) + ")";
    case ExprKind::Cast:
        if (e.type.base == Base::Struct && e.args[0]->type.isScalar()) return splat(*e.args[0], e.type);
        return expr(*e.args[0], top);
    case ExprKind::Member: {
        const Expr& base = *e.args[0];
        if (e.field && base.kind == ExprKind::Name && base.var->splitStruct)
            return e.field->uniformQualifier ? varName(*base.var) + "." + e.field->glslName : splitMember(*base.var, *e.field);
        if (e.field) return expr(base) + "." + e.field->glslName;
        if (base.type.isMatrix()) {
            if (e.swizzle.size() > 1 && !Checker::isPure(base)) error(e.pos, "matrix swizzle of an expression with side effects");
            std::string b = expr(base);
            std::string parts;
            for (int index : e.swizzle) {
                std::string element = b + "[" + std::to_string(index / 4) + "][" + std::to_string(index % 4) + "]";
                if (base.type.components() == 1) element = b;
                else if (base.type.isThinMatrix()) element = b + "[" + std::to_string(index / 4 + index % 4) + "]";
                parts += (parts.empty() ? "" : ", ") + element;
            }
            return e.swizzle.size() == 1 ? parts : glslTypeName(e.type) + "(" + parts + ")";
        }
        if (base.type.isScalar()) {
            std::string b = expr(base, e.swizzle.size() > 1);
            return e.swizzle.size() == 1 ? b : glslTypeName(e.type) + "(" + b + ")";
        }
        std::string letters;
        for (int index : e.swizzle) letters += "xyzw"[index];
        return expr(base) + "." + letters;
    }
    case ExprKind::Index: {
        const Expr& base = *e.args[0];
        std::string index = expr(*e.args[1], true);
        if (base.kind == ExprKind::Name && isUniform(base.var) && base.type.isArray() && e.type.isMatrix())
            return "transpose(" + varName(*base.var) + "[" + index + "])";
        if (base.type.isMatrix() && base.type.rows == 1) return expr(base, top);  // the one row: the whole value
        return expr(base) + "[" + index + "]";
    }
    case ExprKind::InitList: {
        if (e.type.isArray())
            return glslTypeName(e.type) + "[" + std::to_string(e.type.arraySize) + "](" + args(e) + ")";
        if (e.type.isScalar() && e.args.size() == 1) return expr(*e.args[0], top);
        return glslTypeName(e.type) + "(" + args(e) + ")";
    }
    case ExprKind::Convert:
        return convert(*e.args[0], e.type);
    case ExprKind::Comma:
        return "(" + expr(*e.args[0], true) + ", " + expr(*e.args[1], true) + ")";
    }
    return "";
}

// A value of type to whose every scalar is the scalar value (a cast of a
// scalar to a struct): struct and array constructors down to the members.
std::string Emitter::splat(const Expr& value, const Type& to) {
    if (to.isArray()) {
        std::string elements;
        for (int i = 0; i < to.arraySize; ++i) elements += (i ? ", " : "") + splat(value, to.element());
        return glslTypeName(to) + "[" + std::to_string(to.arraySize) + "](" + elements + ")";
    }
    if (to.base == Base::Struct) {
        std::string members;
        for (const auto& m : to.structDecl->members) members += (members.empty() ? "" : ", ") + splat(value, m->type);
        return glslTypeName(to) + "(" + members + ")";
    }
    if (to.isMatrix()) {  // GLSL's mat(x) would be diagonal
        std::string x = convert(value, Type::scalar(to.base)), all;
        for (int i = 0; i < to.components(); ++i) all += (i ? ", " : "") + x;
        return glslTypeName(to) + "(" + all + ")";
    }
    return convert(value, to);
}

std::string Emitter::call(const Expr& e) {
    const FuncDecl* f = e.func->body ? e.func : e.func->definition;
    std::string text;
    for (size_t i = 0; i < e.args.size(); ++i) {
        text += (i > 0 ? ", " : "") + expr(*e.args[i], true);
        // A sampler parameter that needs its texture's size takes it as the next argument.
        if (f && i < f->params.size() && f->params[i]->needsSize && f->params[i]->type.isSampler())
            text += ", " + textureSize(*e.args[i]);
    }
    return (f ? f->glslName : ident(e.name)) + "(" + text + ")";
}

// A uniform matrix operand (or an element of a uniform matrix array), whose
// GLSL value is the mathematical matrix: natural receives its text.
bool Emitter::uniformMatrix(const Expr& e, std::string& natural) {
    if (e.kind == ExprKind::Name && isUniform(e.var) && e.type.isMatrix()) {
        natural = varName(*e.var);
        return true;
    }
    if (e.kind == ExprKind::Index && e.args[0]->kind == ExprKind::Name && isUniform(e.args[0]->var) &&
        e.type.isMatrix()) {
        natural = varName(*e.args[0]->var) + "[" + expr(*e.args[1], true) + "]";
        return true;
    }
    return false;
}

std::string Emitter::mul(const Expr& e) {
    const Expr& a = *e.args[0];
    const Expr& b = *e.args[1];
    std::string na, nb;
    switch (e.intValue) {
    case 1:  // mul(M, v): column vector
        if (uniformMatrix(a, na)) return "(" + na + " * " + expr(b) + ")";
        return "(" + expr(b) + " * " + expr(a) + ")";
    case 2:  // mul(v, M): row vector
        if (uniformMatrix(b, nb)) return "(" + expr(a) + " * " + nb + ")";
        return "(" + expr(b) + " * " + expr(a) + ")";
    case 3:  // mul(A, B): stored transposed, (AB)^T = B^T A^T
        if (uniformMatrix(a, na) && uniformMatrix(b, nb)) return "transpose(" + na + " * " + nb + ")";
        return "(" + expr(b) + " * " + expr(a) + ")";
    case 4:  // a row times a column (both stored as vectors)
        return a.type.components() == 1 ? "(" + expr(a) + " * " + expr(b) + ")"
                                        : "dot(" + expr(a, true) + ", " + expr(b, true) + ")";
    case 5:  // a column times a row: row i of the result is a[i] * b
        return "outerProduct(" + expr(b, true) + ", " + expr(a, true) + ")";
    default:
        return "(" + expr(a) + " * " + expr(b) + ")";
    }
}

std::string Emitter::intrinsic(const Expr& e) {
    const IntrinsicInfo& info = intrinsicAt(e.intrinsic);
    std::string glsl = info.glsl;
    if (glsl.rfind("kc_", 0) == 0) useHelper(glsl);
    switch (info.kind) {
    case IntrinsicKind::Mul:
        return mul(e);
    case IntrinsicKind::AnyAll: {
        const Expr& a = *e.args[0];
        const Type& t = a.type;
        if (t.base == Base::Bool) return t.isScalar() ? expr(a) : glsl + "(" + expr(a, true) + ")";
        std::string zero = t.base == Base::Float ? "0.0" : "0";
        if (t.isScalar()) return "(" + expr(a) + " != " + zero + ")";
        return glsl + "(notEqual(" + expr(a, true) + ", " + glslTypeName(t) + "(" + zero + ")))";
    }
    case IntrinsicKind::Texture:
        return texture(e, info);
    case IntrinsicKind::Transpose:  // a row and a column are stored alike
        if (e.args[0]->type.isThinMatrix()) return expr(*e.args[0]);
        return glsl + "(" + args(e) + ")";
    default:
        return glsl + "(" + args(e) + ")";
    }
}

// The global that holds a varying member of a split entry input.
std::string Emitter::splitMember(const VarDecl& param, const VarDecl& member) const {
    size_t p = 0, m = 0;
    while (p < entry_.params.size() && entry_.params[p].get() != &param) ++p;
    const auto& members = param.type.structDecl->members;
    while (m < members.size() && members[m].get() != &member) ++m;
    return "kc_p" + std::to_string(p) + "m" + std::to_string(m);
}

// A texture lookup. Forms that use a coordinate twice (or reorder it) go
// through a generated helper, so the coordinate expression is evaluated once.
std::string Emitter::texture(const Expr& e, const IntrinsicInfo& info) {
    static const char* dims[] = {"1D", "2D", "3D", "Cube"};
    const Expr& samplerExpr = *e.args[0];
    const VarDecl* samplerVar = samplerExpr.kind == ExprKind::Name ? samplerExpr.var : samplerExpr.field;
    const bool shadow = samplerVar && samplerVar->shadow;
    if ((e.intValue & LookOffset) || e.intValue == LookFetch || e.intValue == LookSize || info.sampler == 4)
        return sizedTexture(e, info, shadow);
    const std::string dim = dims[info.sampler];
    const std::string swizzle = std::string(".xyz").substr(0, static_cast<size_t>(info.coordinates) + 1);
    std::string body;
    switch (e.intValue) {
    case LookPlain:
        return "texture" + dim + "(" + args(e) + ")";
    case LookShadow:
        if (info.sampler == 0) body = "shadow1D(s, vec3(c.x, 0.0, c.y))";
        else return "shadow2D(" + args(e) + ")";
        break;
    case LookGrad:
        textureGrad_ = true;
        return "texture" + dim + "GradARB(" + args(e) + ")";
    case LookShadowGrad:
        textureGrad_ = true;
        if (info.sampler == 0) body = "shadow1DGradARB(s, vec3(c.x, 0.0, c.y), dx, dy)";
        else return "shadow2DGradARB(" + args(e) + ")";
        break;
    case LookProj:
        if (info.sampler == 3) body = "textureCube(s, c.xyz / c.w)";
        else return "texture" + dim + "Proj(" + args(e) + ")";
        break;
    case LookProjDepth:
        if (shadow) body = info.sampler == 0 ? "shadow1DProj(s, vec4(c.x, 0.0, c.y, c.z))" : "shadow2DProj(s, c)";
        else body = info.sampler == 0 ? "texture1DProj(s, c.xz)" : "texture2DProj(s, c)";
        break;
    case LookBias:
        body = "texture" + dim + "(s, c" + swizzle + ", c.w)";
        break;
    default:  // LookLod
        textureLod_ = true;
        body = "texture" + dim + "Lod(s, c" + swizzle + ", c.w)";
        break;
    }
    std::string name = std::string("kc_") + info.name + "_" + std::to_string(e.intValue) + (shadow ? "s" : "");
    Type samplerType = samplerExpr.type;
    std::string source = "vec4 " + name + "(" + declaration(samplerType, "s", shadow) + ", " +
                         glslTypeName(e.args[1]->type) + " c";
    if (e.args.size() == 4)
        source += ", " + glslTypeName(e.args[2]->type) + " dx, " + glslTypeName(e.args[3]->type) + " dy";
    generatedHelpers_[name] = source + ") { return " + body + "; }";
    return name + "(" + args(e) + ")";
}

// The hidden size uniform (or, inside a function, the size parameter) of a
// sampler expression: a vec4 of level 0's width, height and depth (w unused).
std::string Emitter::textureSize(const Expr& sampler) {
    std::string path;
    const Expr* e = &sampler;
    while (e->kind == ExprKind::Member && e->field) {
        path = "." + e->field->name + path;
        e = e->args[0].get();
    }
    if (e->kind == ExprKind::Name && e->var && e->var->storage == Storage::Param && !e->var->splitStruct &&
        path.empty())
        return "kc_size_" + e->var->glslName;
    if (e->kind != ExprKind::Name || !e->var ||
        (e->var->storage != Storage::GlobalUniform && e->var->storage != Storage::EntryUniform && !e->var->splitStruct)) {
        const bool member = e->kind == ExprKind::Name && e->var && e->var->storage == Storage::Param;
        error(sampler.pos, std::string("texel offsets, texel fetches and size queries need the texture's size, which ") +
                               (member ? "a sampler inside a struct parameter does not carry (pass the sampler itself)"
                                       : "only a uniform sampler or a sampler parameter carries"));
        return "vec4(1.0)";
    }
    auto [found, added] = sizeUniforms_.emplace(e->var->name + path, "");
    if (added)
        found->second = (stage_ == Stage::Vertex ? "kc_vsize" : "kc_fsize") + std::to_string(sizeUniforms_.size() - 1);
    return found->second;
}

// Lookups that GLSL 1.20 lacks, written with the texture's size z: a texel
// offset o moves the coordinates by o texels of level 0 (o / size; rectangle
// coordinates are texels already); a fetch reads the centre of texel c.xyz of
// level c.w with an explicit level; a size query scales level 0's size down
// to the level asked for. Rectangle textures have one level, so their bias
// and level forms read it.
std::string Emitter::sizedTexture(const Expr& e, const IntrinsicInfo& info, bool shadow) {
    static const char* dims[] = {"1D", "2D", "3D", "Cube", "2DRect"};
    const std::string dim = dims[info.sampler];
    const int d = info.coordinates;
    const bool rect = info.sampler == 4;
    const bool offset = (e.intValue & LookOffset) != 0;
    const int variant = e.intValue & ~LookOffset;
    const std::string sw = std::string(".xyz").substr(0, static_cast<size_t>(d) + 1);
    const std::string vec = d == 1 ? "float" : "vec" + std::to_string(d);
    const std::string last = "." + std::string("xyzw").substr(static_cast<size_t>(d), 1);       // c of d + 1 components
    const std::string after = "." + std::string("xyzw").substr(static_cast<size_t>(d) + 1, 1);  // c of d + 2 components
    std::string fo;  // the offset in coordinate units
    if (offset) fo = rect ? " + vec2(o)" : " + " + vec + "(o) / z" + sw;
    // A depth compare at coordinates xy (of d components) against reference r.
    auto compare = [&](const std::string& xy, const std::string& r, const std::string& extra) {
        if (info.sampler == 0) return "shadow1D" + extra + "(s, vec3(" + xy + ", 0.0, " + r + ")";
        return "shadow" + dim + extra + "(s, vec3(" + xy + ", " + r + ")";
    };
    std::string body;
    bool lod = false;
    switch (variant) {
    case LookPlain: body = "texture" + dim + "(s, c" + fo + ")"; break;
    case LookShadow: body = compare("c" + sw + fo, "c" + last, "") + ")"; break;
    case LookGrad:
        textureGrad_ = true;
        body = "texture" + dim + "GradARB(s, c" + fo + ", dx, dy)";
        break;
    case LookShadowGrad:
        textureGrad_ = true;
        body = compare("c" + sw + fo, "c" + last, "GradARB") + ", dx, dy)";
        break;
    case LookProj: body = "texture" + dim + "(s, c" + sw + " / c" + last + fo + ")"; break;
    case LookProjDepth:
        if (shadow) body = compare("c" + sw + " / c" + after + fo, "c" + last + " / c" + after, "") + ")";
        else body = "texture" + dim + "(s, c" + sw + " / c" + after + fo + ")";
        break;
    case LookBias:
        body = rect ? "texture2DRect(s, c.xy" + fo + ")" : "texture" + dim + "(s, c" + sw + fo + ", c.w)";
        break;
    case LookLod:
        lod = !rect;
        body = rect ? "texture2DRect(s, c.xy" + fo + ")" : "texture" + dim + "Lod(s, c" + sw + fo + ", c.w)";
        break;
    case LookFetch: {
        std::string texel = vec + "(c" + sw + (offset ? " + o" : "") + ") + 0.5";
        if (rect) {
            body = "texture2DRect(s, " + texel + ")";
        } else {
            lod = true;
            body = "texture" + dim + "Lod(s, (" + texel + ") / max(floor(z" + sw + " / exp2(float(c.w))), 1.0), float(c.w))";
        }
        break;
    }
    default: {  // LookSize: level 0's size halved per level, at least 1; components past the dimension are 0
        static const char* used[] = {"vec3(1.0, 0.0, 0.0)", "vec3(1.0, 1.0, 0.0)", "vec3(1.0)", "vec3(1.0, 1.0, 0.0)",
                                     "vec3(1.0, 1.0, 0.0)"};
        std::string levels = rect ? "z.xyz" : "max(floor(z.xyz / exp2(float(l))), 1.0)";
        std::string name = std::string("kc_") + info.name;
        generatedHelpers_[name] = "ivec3 " + name + "(int l, vec4 z) { return ivec3(" + levels + " * " +
                                  used[info.sampler] + "); }";
        return name + "(" + expr(*e.args[1], true) + ", " + textureSize(*e.args[0]) + ")";
    }
    }
    if (lod) textureLod_ = true;
    std::string name = std::string("kc_") + info.name + "_" + std::to_string(e.intValue) + (shadow ? "s" : "");
    std::string source = "vec4 " + name + "(" + declaration(e.args[0]->type, "s", shadow) + ", " +
                         glslTypeName(e.args[1]->type) + " c";
    size_t count = e.args.size() - (offset ? 1 : 0);
    if (count == 4)
        source += ", " + glslTypeName(e.args[2]->type) + " dx, " + glslTypeName(e.args[3]->type) + " dy";
    if (offset) source += ", " + glslTypeName(e.args.back()->type) + " o";
    bool sized = !rect && (offset || variant == LookFetch);
    if (sized) source += ", vec4 z";
    generatedHelpers_[name] = source + ") { return " + body + "; }";
    return name + "(" + args(e) + (sized ? ", " + textureSize(*e.args[0]) : "") + ")";
}

}  // namespace Kestrane::CgCompiler
