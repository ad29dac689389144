// Checker: calls of user functions (overload resolution) and intrinsics.
#include "kestrane/cg/compiler/Checker.h"

#include <algorithm>

namespace Kestrane::CgCompiler {

namespace {

// The declaration a sampler expression names: a variable or a struct member.
VarDecl* samplerOf(const Expr& e) {
    if (e.kind == ExprKind::Name) return e.var;
    if (e.kind == ExprKind::Member && e.field) return const_cast<VarDecl*>(e.field);
    return nullptr;
}

// Cg lookups GLSL 1.20 cannot express (array samplers).
bool unsupportedLookup(const std::string& name) {
    return name.rfind("tex", 0) == 0 && name.find("ARRAY") != std::string::npos;
}

// Functions of GLSL (and of HLSL) that Cg's standard library does not have,
// with the Cg function that does the job.
const char* nonCgFunction(const std::string& name) {
    static const struct {
        const char* name;
        const char* cg;
    } table[] = {
        {"mix", "lerp"}, {"fract", "frac"}, {"mod", "fmod (which keeps the sign of x)"},
        {"inversesqrt", "rsqrt"}, {"dFdx", "ddx"}, {"dFdy", "ddy"}, {"texture", "tex2D"},
        {"texture1D", "tex1D"}, {"texture2D", "tex2D"}, {"texture3D", "tex3D"}, {"textureCube", "texCUBE"},
        {"texture2DProj", "tex2Dproj"}, {"texture2DLod", "tex2Dlod"}, {"texelFetch", "tex2Dfetch"},
        {"textureSize", "tex2Dsize"}, {"lessThan", "<"}, {"greaterThan", ">"}, {"equal", "=="},
        {"notEqual", "!="}, {"matrixCompMult", "*"},
    };
    for (const auto& entry : table)
        if (name == entry.name) return entry.cg;
    return nullptr;
}

std::string argumentList(const Expr& e) {
    std::string list;
    for (const ExprPtr& a : e.args) list += (list.empty() ? "" : ", ") + cgTypeName(a->type);
    return "(" + list + ")";
}

}  // namespace

void Checker::checkCall(Expr& e) {
    for (ExprPtr& a : e.args) check(a);
    e.type = Type{};
    for (ExprPtr& a : e.args)
        if (a->type.isError()) return;
    if (auto found = functions_.find(e.name); found != functions_.end()) {
        // A user function of an intrinsic's name that does not fit falls back to the intrinsic.
        checkUserCall(e, found->second, !findIntrinsic(e.name));
        if (e.func || !findIntrinsic(e.name)) return;
    }
    if (const IntrinsicInfo* info = findIntrinsic(e.name)) {
        e.intrinsic = intrinsicIndex(*info);
        if (info->arity >= 0 && static_cast<int>(e.args.size()) != info->arity) {
            error(e.pos, "'" + e.name + "' takes " + std::to_string(info->arity) + " arguments, " +
                             std::to_string(e.args.size()) + " given");
            return;
        }
        if (info->fragmentOnly && current_) current_->fragmentOnly.emplace_back(e.pos, e.name);
        checkIntrinsic(e, *info);
        return;
    }
    if (unsupportedLookup(e.name))
        error(e.pos, "'" + e.name + "' is not supported (GLSL 1.20 has no array samplers)");
    else if (VarDecl* var = lookup(e.name)) error(e.pos, "'" + var->name + "' is not a function");
    else if (const char* cg = nonCgFunction(e.name))
        error(e.pos, "unknown function '" + e.name + "': it is not part of Cg (GLSL has it; Cg's is " + cg +
                         "), and this program does not define it");
    else error(e.pos, "unknown function '" + e.name + "'");
}

void Checker::checkUserCall(Expr& e, std::vector<FuncDecl*>& candidates, bool report) {
    FuncDecl* best = nullptr;
    int bestCost = 0;
    bool ambiguous = false;
    for (FuncDecl* f : candidates) {
        if (f->params.size() != e.args.size()) continue;
        int cost = 0;
        for (size_t i = 0; i < e.args.size() && cost >= 0; ++i) {
            const VarDecl& p = *f->params[i];
            const Expr& a = *e.args[i];
            if (p.mode != ParamMode::In) {
                cost = a.lvalue && a.type == p.type ? cost : -1;
            } else {
                int c = conversionCost(a.type, p.type);
                cost = c < 0 ? -1 : cost + c;
            }
        }
        if (cost < 0) continue;
        if (!best || cost < bestCost) {
            best = f;
            bestCost = cost;
            ambiguous = false;
        } else if (cost == bestCost) {
            ambiguous = true;
        }
    }
    if (!best) {
        if (report)
            error(e.pos, "no overload of '" + e.name + "' takes " + argumentList(e) +
                             " (out and inout arguments must be variables of the parameter's type)");
        return;
    }
    if (ambiguous) {
        error(e.pos, "call of '" + e.name + "' with " + argumentList(e) + " is ambiguous");
        return;
    }
    for (size_t i = 0; i < e.args.size(); ++i) {
        if (best->params[i]->mode == ParamMode::In) convert(e.args[i], best->params[i]->type, "argument of '" + e.name + "'");
        else noteWrite(*e.args[i]);
        if (best->params[i]->type.isSampler()) {
            if (VarDecl* argument = samplerOf(*e.args[i])) {
                samplerLinks_.emplace_back(argument, best->params[i].get());
                samplerVars_.push_back(argument);
                samplerVars_.push_back(best->params[i].get());
                // A call through a prototype reaches the definition's parameter.
                if (best->definition) {
                    samplerLinks_.emplace_back(best->params[i].get(), best->definition->params[i].get());
                    samplerVars_.push_back(best->definition->params[i].get());
                }
            }
        }
    }
    e.func = best;
    e.type = best->returnType;
    if (current_) current_->calls.push_back(best);
}

void Checker::checkIntrinsic(Expr& e, const IntrinsicInfo& info) {
    auto fail = [&](const std::string& why) {
        error(e.pos, "'" + e.name + "' " + why + ", not " + argumentList(e));
        e.type = Type{};
    };
    auto allFloat = [&](const Type& t) {
        for (ExprPtr& a : e.args) convert(a, t, "argument of '" + e.name + "'");
        return true;
    };
    // Scalars and vectors only; the common shape of the vectors (the smallest).
    auto commonShape = [&](size_t count, int& columns) {
        columns = 0;
        for (size_t i = 0; i < count; ++i) {
            const Type& t = e.args[i]->type;
            if (!t.isScalar() && !t.isVector()) return false;
            if (t.isVector()) columns = columns == 0 ? t.columns : std::min(columns, t.columns);
        }
        if (columns == 0) columns = 1;
        return true;
    };
    int n = 1;
    switch (info.kind) {
    case IntrinsicKind::Componentwise:
        if (!commonShape(e.args.size(), n)) return fail("takes scalars or vectors");
        e.type = Type::vector(Base::Float, n);
        allFloat(e.type);
        return;
    case IntrinsicKind::Dot:
    case IntrinsicKind::Distance:
        if (!commonShape(2, n)) return fail("takes scalars or vectors");
        allFloat(Type::vector(Base::Float, n));
        e.type = Type::scalar(Base::Float);
        return;
    case IntrinsicKind::Cross:
        if (!commonShape(2, n)) return fail("takes float3 vectors");
        allFloat(Type::vector(Base::Float, 3));
        e.type = Type::vector(Base::Float, 3);
        return;
    case IntrinsicKind::Length:
    case IntrinsicKind::Normalize:
        if (!commonShape(1, n)) return fail("takes a scalar or vector");
        allFloat(Type::vector(Base::Float, n));
        e.type = info.kind == IntrinsicKind::Length ? Type::scalar(Base::Float) : Type::vector(Base::Float, n);
        return;
    case IntrinsicKind::Reflect:
    case IntrinsicKind::FaceForward:
        if (!commonShape(e.args.size(), n)) return fail("takes scalars or vectors");
        e.type = Type::vector(Base::Float, n);
        allFloat(e.type);
        return;
    case IntrinsicKind::Refract:
        if (!commonShape(2, n) || !e.args[2]->type.isScalar()) return fail("takes two vectors and a scalar");
        e.type = Type::vector(Base::Float, n);
        convert(e.args[0], e.type, "argument of 'refract'");
        convert(e.args[1], e.type, "argument of 'refract'");
        convert(e.args[2], Type::scalar(Base::Float), "argument of 'refract'");
        return;
    case IntrinsicKind::Mul:
        checkMul(e);
        return;
    case IntrinsicKind::Lit:
        for (ExprPtr& a : e.args)
            if (!a->type.isScalar()) return fail("takes three scalars");
        allFloat(Type::scalar(Base::Float));
        e.type = Type::vector(Base::Float, 4);
        return;
    case IntrinsicKind::Clip:
        if (!commonShape(1, n)) return fail("takes a scalar or vector");
        allFloat(Type::vector(Base::Float, n));
        e.type = Type::scalar(Base::Void);
        return;
    case IntrinsicKind::AnyAll:
        if (!commonShape(1, n)) return fail("takes a scalar or vector");
        e.type = Type::scalar(Base::Bool);
        return;
    case IntrinsicKind::Determinant:
        if (!e.args[0]->type.isMatrix() || e.args[0]->type.rows != e.args[0]->type.columns || e.args[0]->type.rows < 2)
            return fail("takes a square matrix");
        e.type = Type::scalar(Base::Float);
        return;
    case IntrinsicKind::Transpose: {
        const Type& m = e.args[0]->type;
        if (!m.isMatrix()) return fail("takes a matrix");
        e.type = Type::matrix(Base::Float, m.columns, m.rows);
        return;
    }
    case IntrinsicKind::SinCos: {
        if (!commonShape(1, n)) return fail("takes a scalar or vector and two variables");
        Type t = Type::vector(Base::Float, e.args[0]->type.columns);
        for (size_t i = 1; i < 3; ++i)
            if (!e.args[i]->lvalue || !(e.args[i]->type == t))
                return fail("writes its results into two " + cgTypeName(t) + " variables");
            else noteWrite(*e.args[i]);
        convert(e.args[0], t, "argument of 'sincos'");
        e.type = Type::scalar(Base::Void);
        return;
    }
    case IntrinsicKind::Modf: {
        if (!commonShape(1, n)) return fail("takes a scalar or vector and a variable");
        Type t = Type::vector(Base::Float, e.args[0]->type.columns);
        if (!e.args[1]->lvalue || !(e.args[1]->type == t))
            return fail("writes the integer part into a " + cgTypeName(t) + " variable");
        noteWrite(*e.args[1]);
        convert(e.args[0], t, "argument of 'modf'");
        e.type = t;
        return;
    }
    case IntrinsicKind::Texture:
        checkTexture(e, info);
        return;
    }
}

// mul(a, b): matrix-vector and matrix-matrix products with Cg's row-major
// meaning (mul(M, v) treats v as a column, mul(v, M) as a row). The form is
// kept in intValue for the emitter: 0 scalar product, 1 M*v, 2 v*M, 3 M*N.
void Checker::checkMul(Expr& e) {
    const Type a = e.args[0]->type, b = e.args[1]->type;
    auto fail = [&](const std::string& why) {
        error(e.pos, "mul(" + cgTypeName(a) + ", " + cgTypeName(b) + "): " + why);
        e.type = Type{};
    };
    if (!a.isNumeric() || !b.isNumeric()) return fail("operands must be numeric");
    if (a.isScalar() || b.isScalar()) {
        e.intValue = 0;
        const Type& other = a.isScalar() ? b : a;
        e.type = other.withBase(Base::Float);
        convert(e.args[0], a.isScalar() ? Type::scalar(Base::Float) : e.type, "argument of 'mul'");
        convert(e.args[1], b.isScalar() ? Type::scalar(Base::Float) : e.type, "argument of 'mul'");
        return;
    }
    if (a.isVector() && b.isVector()) return fail("use dot() for the product of two vectors");
    // A vector is a row on the left and a column on the right; matrices may
    // have one row or column (float1x4, float4x1).
    const int aRows = a.isMatrix() ? a.rows : 1, inner = a.isMatrix() ? a.columns : b.rows;
    const int bColumns = b.isMatrix() ? b.columns : 1;
    if (a.isVector() && a.columns < inner) return fail("the vector needs " + std::to_string(inner) + " components");
    if (b.isVector() && b.columns < inner) return fail("the vector needs " + std::to_string(inner) + " components");
    if (a.isMatrix() && b.isMatrix() && a.columns != b.rows) return fail("the inner dimensions differ");
    if (a.isVector()) convert(e.args[0], Type::vector(Base::Float, inner), "argument of 'mul'");
    if (b.isVector()) convert(e.args[1], Type::vector(Base::Float, inner), "argument of 'mul'");
    if (aRows == 1 && bColumns == 1) e.intValue = 4;       // row times column: a dot product
    else if (inner == 1) e.intValue = aRows > 1 && bColumns > 1 ? 5 : 0;  // column times row
    else if (aRows == 1) e.intValue = 2;                   // a row vector times a matrix
    else if (bColumns == 1) e.intValue = 1;                // a matrix times a column vector
    else e.intValue = 3;
    if (a.isVector()) e.type = Type::vector(Base::Float, bColumns);
    else if (b.isVector()) e.type = Type::vector(Base::Float, aRows);
    else e.type = Type::matrix(Base::Float, aRows, bColumns);
}


void Checker::useSampler(const Expr& sampler, int use) {
    if (VarDecl* var = samplerOf(sampler)) {
        var->samplerUse |= use;
        samplerVars_.push_back(var);
    }
}

namespace {

// The first texture lookup in the subtree whose sampler argument is the name.
const IntrinsicInfo* lookupOf(const Expr& e, const std::string& name) {
    if (e.kind == ExprKind::Call && !e.args.empty() && e.args[0]->kind == ExprKind::Name && e.args[0]->name == name)
        if (const IntrinsicInfo* info = findIntrinsic(e.name); info && info->kind == IntrinsicKind::Texture) return info;
    for (const ExprPtr& a : e.args)
        if (const IntrinsicInfo* found = lookupOf(*a, name)) return found;
    return nullptr;
}

const IntrinsicInfo* lookupOf(const Stmt& s, const std::string& name) {
    const IntrinsicInfo* found = nullptr;
    for (const auto& child : s.body)
        if (!found) found = lookupOf(*child, name);
    for (const auto& decl : s.decls)
        if (!found && decl->init) found = lookupOf(*decl->init, name);
    for (const Expr* e : {s.cond.get(), s.step.get(), s.expr.get()})
        if (!found && e) found = lookupOf(*e, name);
    for (const Stmt* child : {s.init.get(), s.then.get(), s.otherwise.get()})
        if (!found && child) found = lookupOf(*child, name);
    return found;
}

}  // namespace

// A parameter of Cg's generic type "sampler" takes the sampler type of the
// lookups that read it (tex2D: sampler2D), and its prototypes with it.
void Checker::resolveGenericSamplers(FuncDecl& func) {
    static const Base samplers[] = {Base::Sampler1D, Base::Sampler2D, Base::Sampler3D, Base::SamplerCube,
                                    Base::SamplerRect};
    for (size_t i = 0; i < func.params.size(); ++i) {
        VarDecl& p = *func.params[i];
        if (p.type.base != Base::SamplerAny || p.type.isArray()) continue;
        const IntrinsicInfo* lookup = lookupOf(*func.body, p.name);
        if (!lookup) {
            error(p.pos, "parameter '" + p.name + "' of the generic type 'sampler' is not read by a texture lookup "
                                                   "(give it a sampler type)");
            continue;
        }
        p.type = Type::scalar(samplers[lookup->sampler]);
        for (auto& other : program_.functions)
            if (!other->body && other->definition == &func && i < other->params.size()) other->params[i]->type = p.type;
    }
}

// The Cg standard library's lookups: the family (plain, proj, bias, lod,
// fetch, size) and the coordinate size select the variant kept in intValue;
// one more coordinate than the sampler's dimension is a depth compare (shadow
// lookup); one argument more than the form's own is an integer texel offset.
// Offsets, fetches and size queries need the texture's size (use bit 4).
void Checker::checkTexture(Expr& e, const IntrinsicInfo& info) {
    static const Base samplers[] = {Base::Sampler1D, Base::Sampler2D, Base::Sampler3D, Base::SamplerCube,
                                    Base::SamplerRect};
    Type sampler = Type::scalar(samplers[info.sampler]);
    e.type = Type{};
    if (e.args.size() < 2) {
        error(e.pos, "'" + e.name + "' takes a " + cgTypeName(sampler) + " and coordinates, not " + argumentList(e));
        return;
    }
    if (!(e.args[0]->type == sampler)) {
        error(e.args[0]->pos, "'" + e.name + "' needs a " + cgTypeName(sampler) + ", not " + cgTypeName(e.args[0]->type));
        return;
    }
    const int d = info.coordinates;
    const bool cube = info.sampler == 3;
    const bool depth = info.sampler <= 1 || info.sampler == 4;  // GLSL 1.20 has 1D, 2D and rectangle shadow samplers
    auto vec = [](int n, Base base = Base::Float) { return n == 1 ? Type::scalar(base) : Type::vector(base, n); };
    auto fail = [&](const std::string& forms) {
        error(e.pos, "'" + e.name + "' takes (" + cgTypeName(sampler) + ", " + forms + "), not " + argumentList(e));
    };
    const std::string offsetForm = cube ? "" : " [, " + cgTypeName(vec(d, Base::Int)) + " offset]";
    const size_t count = e.args.size();
    if (info.form == TexSize) {
        if (count != 2 || !e.args[1]->type.isScalar() || e.args[1]->type.base == Base::Bool) return fail("int lod");
        convert(e.args[1], Type::scalar(Base::Int), "level of '" + e.name + "'");
        e.intValue = LookSize;
        useSampler(*e.args[0], 4);
        e.type = Type::vector(Base::Int, 3);
        return;
    }
    const Type& c = e.args[1]->type;
    if (!c.isScalar() && !c.isVector()) return fail("coordinates");
    const size_t own = info.form == TexPlain && count >= 4 ? 4 : 2;
    const bool offset = count == own + 1;
    if (offset) {
        // Cg's texel offsets: an int (spread to every coordinate) or an int vector of the sampler's dimension.
        const Type& o = e.args[count - 1]->type;
        if (cube || !(o.isScalar() || (o.isVector() && o.columns == d)) || o.base == Base::Bool) {
            if (cube) return fail("coordinates (cube lookups take no texel offset)");
            return fail("coordinates, ..., " + cgTypeName(vec(d, Base::Int)) + " offset");
        }
        convert(e.args[count - 1], vec(d, Base::Int), "texel offset of '" + e.name + "'");
    }
    int n = c.columns;
    int variant = LookPlain;
    std::string shadowNote = depth ? "" : " (GLSL 1.20 has no depth-compare lookups for this sampler)";
    switch (info.form) {
    case TexPlain: {
        if (count < 2 || count > 5) return fail(cgTypeName(vec(d)) + " [, ddx, ddy]" + offsetForm);
        if (c.isScalar()) n = d;
        bool grad = own == 4;
        if (n == d) variant = grad ? LookGrad : LookPlain;
        else if (n == d + 1 && depth) variant = grad ? LookShadowGrad : LookShadow;
        else return fail(cgTypeName(vec(d)) + (depth ? " or " + cgTypeName(vec(d + 1)) : shadowNote));
        if (grad) {
            for (size_t k = 2; k < 4; ++k) {
                const Type& t = e.args[k]->type;
                if ((!t.isScalar() && !t.isVector()) || (t.isVector() && t.columns < d))
                    return fail(cgTypeName(vec(n)) + ", " + cgTypeName(vec(d)) + " ddx, " + cgTypeName(vec(d)) + " ddy");
                convert(e.args[k], vec(d), "derivative of '" + e.name + "'");
            }
        }
        break;
    }
    case TexProj:
        if (count != own && !offset) return fail(cgTypeName(vec(d + 1)) + offsetForm);
        if (c.isScalar()) n = d + 1;
        if (n == d + 1) variant = LookProj;
        else if (n == d + 2 && depth) variant = LookProjDepth;
        else return fail(cgTypeName(vec(d + 1)) + (depth ? " or " + cgTypeName(vec(d + 2)) : ""));
        break;
    case TexFetch:
        // Integer texel coordinates with the level in .w.
        if (count != own && !offset) return fail("int4" + offsetForm);
        if (!c.isVector() || c.columns != 4 || c.base == Base::Bool) return fail("int4 texel and level" + offsetForm);
        convert(e.args[1], Type::vector(Base::Int, 4), "coordinates of '" + e.name + "'");
        variant = LookFetch;
        break;
    default:  // bias and lod: the level or bias in .w
        if (count != own && !offset) return fail("float4" + offsetForm);
        if (c.isScalar()) n = 4;
        if (n != 4) return fail("float4");
        variant = info.form == TexBias ? LookBias : LookLod;
        break;
    }
    if (variant != LookFetch) convert(e.args[1], vec(n), "coordinates of '" + e.name + "'");
    bool shadow = variant == LookShadow || variant == LookShadowGrad;
    int use = variant == LookProjDepth ? 0 : shadow ? 2 : 1;
    if (offset || variant == LookFetch) use |= 4;
    e.intValue = variant | (offset ? LookOffset : 0);
    useSampler(*e.args[0], use);
    e.type = Type::vector(Base::Float, 4);
}

}  // namespace Kestrane::CgCompiler
