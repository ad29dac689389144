// Checker: expressions, implicit conversions, swizzles.
#include "kestrane/cg/compiler/Checker.h"

#include <algorithm>
#include <limits>

namespace Kestrane::CgCompiler {

namespace {

bool isBitwise(Tok op) {
    return op == Tok::Amp || op == Tok::Pipe || op == Tok::Caret || op == Tok::Shl || op == Tok::Shr ||
           op == Tok::Tilde;
}

bool isRelational(Tok op) {
    return op == Tok::Less || op == Tok::Greater || op == Tok::LessEq || op == Tok::GreaterEq;
}

Tok binaryOf(Tok assignOp) {
    switch (assignOp) {
    case Tok::PlusAssign: return Tok::Plus;
    case Tok::MinusAssign: return Tok::Minus;
    case Tok::StarAssign: return Tok::Star;
    case Tok::SlashAssign: return Tok::Slash;
    case Tok::PercentAssign: return Tok::Percent;
    case Tok::AmpAssign: return Tok::Amp;
    case Tok::PipeAssign: return Tok::Pipe;
    case Tok::CaretAssign: return Tok::Caret;
    case Tok::ShlAssign: return Tok::Shl;
    case Tok::ShrAssign: return Tok::Shr;
    default: return Tok::End;
    }
}

std::string opName(Tok op) { return "'" + std::string(spelling(op)) + "'"; }

// Swizzle letters of one set (xyzw or rgba) into component indices.
bool vectorSwizzle(const std::string& s, int size, std::vector<int>& out) {
    if (s.empty() || s.size() > 4) return false;
    static const std::string_view sets[] = {"xyzw", "rgba"};
    for (std::string_view set : sets) {
        out.clear();
        for (char c : s) {
            size_t i = set.find(c);
            if (i == std::string_view::npos || static_cast<int>(i) >= size) break;
            out.push_back(static_cast<int>(i));
        }
        if (out.size() == s.size()) return true;
    }
    return false;
}

// Matrix swizzle "_m00_m12" (zero-based) or "_11_23" (one-based): row * 4 + column.
bool matrixSwizzle(const std::string& s, int rows, int columns, std::vector<int>& out) {
    out.clear();
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] != '_' || out.size() >= 4) return false;
        ++i;
        int base = 1;
        if (i < s.size() && s[i] == 'm') {
            base = 0;
            ++i;
        }
        if (i + 2 > s.size() || s[i] < '0' || s[i] > '9' || s[i + 1] < '0' || s[i + 1] > '9') return false;
        int r = s[i] - '0' - base, c = s[i + 1] - '0' - base;
        if (r < 0 || c < 0 || r >= rows || c >= columns) return false;
        out.push_back(r * 4 + c);
        i += 2;
    }
    return !out.empty();
}

}  // namespace

int Checker::conversionCost(const Type& from, const Type& to) {
    if (from == to || from.isError() || to.isError()) return 0;
    if (!from.isNumeric() || !to.isNumeric()) return -1;
    int cost = from.base != to.base ? 1 : 0;
    if (from.rows == to.rows && from.columns == to.columns) return cost;
    if (from.isScalar() && (to.isVector() || to.isMatrix())) return cost + 2;
    if (from.isVector() && !to.isMatrix() && to.columns < from.columns) return cost + 4;
    if (from.isMatrix() && to.isMatrix() && to.rows <= from.rows && to.columns <= from.columns &&
        !from.isThinMatrix() && !to.isThinMatrix())
        return cost + 4;
    // A matrix of one row or column and a vector (or float1x1 and a scalar) of
    // as many components hold the same values.
    if ((from.isThinMatrix() || to.isThinMatrix()) && !(from.isMatrix() && to.isMatrix()) &&
        from.components() == to.components())
        return cost + 1;
    return -1;
}

std::optional<int64_t> Checker::constantInt(const Expr& e) {
    static thread_local int depth = 0;
    struct Guard {
        Guard() { ++depth; }
        ~Guard() { --depth; }
    } guard;
    if (depth > 64) return std::nullopt;
    auto fits = [](int64_t v) -> std::optional<int64_t> {
        if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return std::nullopt;
        return v;
    };
    switch (e.kind) {
    case ExprKind::IntLit: return e.intValue;
    case ExprKind::Convert:
    case ExprKind::Cast:
        if (e.args[0]->type.base != Base::Int || !e.args[0]->type.isScalar()) return std::nullopt;
        return constantInt(*e.args[0]);
    case ExprKind::Name:
        if (e.var && e.var->isConst && e.var->init && e.var->type.isScalar() && e.var->type.base == Base::Int)
            return constantInt(*e.var->init);
        return std::nullopt;
    case ExprKind::Unary: {
        auto v = constantInt(*e.args[0]);
        if (!v) return v;
        if (e.op == Tok::Minus) return fits(-*v);
        if (e.op == Tok::Plus) return v;
        return std::nullopt;
    }
    case ExprKind::Binary: {
        auto a = constantInt(*e.args[0]), b = constantInt(*e.args[1]);
        if (!a || !b) return std::nullopt;
        switch (e.op) {
        case Tok::Plus: return fits(*a + *b);
        case Tok::Minus: return fits(*a - *b);
        case Tok::Star: return fits(*a * *b);
        case Tok::Slash: return *b == 0 ? std::nullopt : fits(*a / *b);
        case Tok::Percent: return *b == 0 ? std::nullopt : fits(*a % *b);
        default: return std::nullopt;
        }
    }
    default:
        return std::nullopt;
    }
}

bool Checker::isConstantExpr(const Expr& e) {
    switch (e.kind) {
    case ExprKind::IntLit:
    case ExprKind::FloatLit:
    case ExprKind::BoolLit:
        return true;
    case ExprKind::Name:
        return e.var && e.var->isConst && e.var->constantInit && e.var->storage == Storage::GlobalStatic;
    case ExprKind::Unary:
        if (e.op == Tok::PlusPlus || e.op == Tok::MinusMinus) return false;
        break;
    case ExprKind::Binary:
        // '%' and vector && / || are written with helper functions.
        if (e.op == Tok::Percent || e.type.isMatrix()) return false;
        if ((e.op == Tok::AndAnd || e.op == Tok::OrOr) && e.type.isVector()) return false;
        break;
    case ExprKind::Ternary:
        if (e.intValue) return false;
        break;
    case ExprKind::Convert:
    case ExprKind::Cast:
    case ExprKind::Construct:
    case ExprKind::InitList:
    case ExprKind::Member:
        break;
    default:
        return false;
    }
    return std::all_of(e.args.begin(), e.args.end(), [](const ExprPtr& a) { return isConstantExpr(*a); });
}

bool Checker::isPure(const Expr& e) {
    switch (e.kind) {
    case ExprKind::Call:
    case ExprKind::Assign:
    case ExprKind::Postfix:
    case ExprKind::Comma:
        return false;
    case ExprKind::Unary:
        if (e.op == Tok::PlusPlus || e.op == Tok::MinusMinus) return false;
        break;
    default:
        break;
    }
    return std::all_of(e.args.begin(), e.args.end(), [](const ExprPtr& a) { return isPure(*a); });
}

ExprPtr Checker::clone(const Expr& e) {
    auto c = std::make_unique<Expr>(e.kind, e.pos);
    c->depth = e.depth;
    c->op = e.op;
    c->name = e.name;
    c->intValue = e.intValue;
    c->floatValue = e.floatValue;
    c->written = e.written;
    c->type = e.type;
    c->lvalue = e.lvalue;
    c->var = e.var;
    c->func = e.func;
    c->intrinsic = e.intrinsic;
    c->swizzle = e.swizzle;
    c->field = e.field;
    for (const ExprPtr& a : e.args) c->args.push_back(clone(*a));
    return c;
}

bool Checker::convert(ExprPtr& e, const Type& to, const std::string& context) {
    if (e->type.isError() || to.isError()) return false;
    if (e->type == to) return true;
    if (conversionCost(e->type, to) < 0) {
        error(e->pos, "cannot convert " + cgTypeName(e->type) + " to " + cgTypeName(to) + " in " + context);
        return false;
    }
    if (e->type.isScalar() && to.isMatrix() && !isPure(*e)) {
        error(e->pos, "a scalar made into a " + cgTypeName(to) + " must have no side effects (" + context + ")");
        return false;
    }
    auto c = std::make_unique<Expr>(ExprKind::Convert, e->pos);
    c->type = to;
    c->depth = e->depth + 1;
    c->args.push_back(std::move(e));
    e = std::move(c);
    return true;
}

void Checker::toBool(ExprPtr& e, const std::string& context) {
    if (e->type.isError()) return;
    if (!e->type.isScalar()) {
        error(e->pos, context + " must be a scalar, not " + cgTypeName(e->type));
        return;
    }
    convert(e, Type::scalar(Base::Bool), context);
}

void Checker::check(ExprPtr& e) {
    Expr& x = *e;
    switch (x.kind) {
    case ExprKind::IntLit: x.type = Type::scalar(Base::Int); break;
    case ExprKind::FloatLit: x.type = Type::scalar(Base::Float); break;
    case ExprKind::BoolLit: x.type = Type::scalar(Base::Bool); break;
    case ExprKind::Name: checkName(x); break;
    case ExprKind::Unary:
    case ExprKind::Postfix: checkUnary(x); break;
    case ExprKind::Binary:
        check(x.args[0]);
        check(x.args[1]);
        typeBinary(x);
        break;
    case ExprKind::Assign: checkAssign(e); break;
    case ExprKind::Ternary: checkTernary(x); break;
    case ExprKind::Call: checkCall(x); break;
    case ExprKind::Construct: checkConstruct(x); break;
    case ExprKind::Cast: checkCast(x); break;
    case ExprKind::Member: checkMember(x); break;
    case ExprKind::Index: checkIndex(x); break;
    case ExprKind::InitList:
        error(x.pos, "an initializer list is only allowed in a declaration");
        x.type = Type{};
        break;
    case ExprKind::Convert: break;
    case ExprKind::Comma:
        check(x.args[0]);
        check(x.args[1]);
        x.type = x.args[1]->type;
        // GLSL allows samplers only as arguments, so they are no operands of ','.
        if (holdsSampler(x.args[0]->type) || holdsSampler(x.args[1]->type)) {
            error(x.pos, "a sampler cannot be an operand of ','");
            x.type = Type{};
        }
        break;
    }
}

void Checker::checkName(Expr& e) {
    VarDecl* var = lookup(e.name);
    if (!var) {
        if (functions_.count(e.name)) error(e.pos, "function '" + e.name + "' used as a value");
        else error(e.pos, "undeclared identifier '" + e.name + "'");
        e.type = Type{};
        return;
    }
    e.var = var;
    e.type = var->type;
    switch (var->storage) {
    case Storage::GlobalUniform:
        useGlobal(var);
        e.lvalue = !var->isConst && !holdsSampler(var->type);
        break;
    case Storage::GlobalStatic:
        useGlobal(var);
        e.lvalue = !var->isConst;
        break;
    case Storage::EntryUniform:
        var->referenced = true;
        e.lvalue = !var->isConst && !holdsSampler(var->type);
        break;
    default:
        e.lvalue = !var->isConst && !holdsSampler(var->type) && !var->splitStruct;
        if (var->splitStruct) var->referenced = true;
        break;
    }
}

// Cg lets a program assign to its uniform parameters; the program then works
// on its own copy of the value (GLSL uniforms are read-only).
void Checker::noteWrite(const Expr& target) {
    const Expr* e = &target;
    while ((e->kind == ExprKind::Member || e->kind == ExprKind::Index) && !e->args.empty()) e = e->args[0].get();
    if (e->kind == ExprKind::Name && e->var &&
        (e->var->storage == Storage::GlobalUniform || e->var->storage == Storage::EntryUniform))
        e->var->writtenUniform = true;
}

void Checker::checkUnary(Expr& e) {
    check(e.args[0]);
    const Type t = e.args[0]->type;
    e.type = Type{};
    if (t.isError()) return;
    if (e.op == Tok::Tilde) {
        if ((t.base != Base::Int && t.base != Base::Bool) || t.isMatrix()) {
            error(e.pos, "operator '~' takes an int scalar or vector, not " + cgTypeName(t));
            return;
        }
        e.type = t.withBase(Base::Int);
        convert(e.args[0], e.type, "operand of '~'");
        return;
    }
    if (!t.isNumeric()) {
        error(e.pos, "operator " + opName(e.op) + " cannot be applied to " + cgTypeName(t));
        return;
    }
    switch (e.op) {
    case Tok::Plus:
    case Tok::Minus:
        e.type = t.base == Base::Bool ? t.withBase(Base::Int) : t;
        convert(e.args[0], e.type, "operand of " + opName(e.op));
        break;
    case Tok::Not:
        if (t.isMatrix()) {
            error(e.pos, "operator '!' cannot be applied to " + cgTypeName(t));
            return;
        }
        e.type = t.withBase(Base::Bool);
        convert(e.args[0], e.type, "operand of '!'");
        break;
    default:  // ++ and --
        if (!e.args[0]->lvalue || t.base == Base::Bool) {
            error(e.pos, "operand of " + opName(e.op) + " must be a modifiable int or float variable");
            return;
        }
        noteWrite(*e.args[0]);
        e.type = t;
        break;
    }
}

bool Checker::arithmeticType(const Type& a, const Type& b, Type& out) {
    if (!a.isNumeric() || !b.isNumeric()) return false;
    Base base = std::max(a.base, b.base);
    if (a.isScalar()) out = b.withBase(base);
    else if (b.isScalar()) out = a.withBase(base);
    else if (a.isVector() && b.isVector()) out = Type::vector(base, std::min(a.columns, b.columns));
    else if (a.isMatrix() && b.isMatrix() && a.rows == b.rows && a.columns == b.columns) out = a.withBase(base);
    else return false;
    return true;
}

void Checker::typeBinary(Expr& e) {
    const Type a = e.args[0]->type, b = e.args[1]->type;
    e.type = Type{};
    if (a.isError() || b.isError()) return;
    if (isBitwise(e.op)) {
        // Integers only (bools count as 0 and 1); a shift keeps its left side's shape.
        Type out;
        bool integral = a.base != Base::Float && b.base != Base::Float && !a.isMatrix() && !b.isMatrix();
        if (!integral || !arithmeticType(a, b, out)) {
            error(e.pos, "bitwise operator " + opName(e.op) + " takes int scalars or vectors, not " + cgTypeName(a) +
                             " and " + cgTypeName(b));
            return;
        }
        e.type = out.withBase(Base::Int);
        if ((e.op == Tok::Shl || e.op == Tok::Shr) && a.isScalar() && b.isVector()) {
            error(e.pos, "shift of a scalar by a vector");
            e.type = Type{};
            return;
        }
        convert(e.args[0], e.type, "operand of " + opName(e.op));
        convert(e.args[1], b.isScalar() ? Type::scalar(Base::Int) : e.type, "operand of " + opName(e.op));
        return;
    }
    if (e.op == Tok::AndAnd || e.op == Tok::OrOr) {
        if (a.isVector() || b.isVector()) {
            // Component-wise on vectors, both sides evaluated (as in Cg).
            Type out;
            if (a.isMatrix() || b.isMatrix() || !arithmeticType(a, b, out)) {
                error(e.pos, "invalid operands to " + opName(e.op) + ": " + cgTypeName(a) + " and " + cgTypeName(b));
                return;
            }
            out = out.withBase(Base::Bool);
            convert(e.args[0], out, "operand of " + opName(e.op));
            convert(e.args[1], out, "operand of " + opName(e.op));
            e.type = out;
            return;
        }
        if (!a.isScalar() || !b.isScalar()) {
            error(e.pos, "operands of " + opName(e.op) + " must be scalars or vectors");
            return;
        }
        toBool(e.args[0], "operand of " + opName(e.op));
        toBool(e.args[1], "operand of " + opName(e.op));
        e.type = Type::scalar(Base::Bool);
        return;
    }
    bool comparison = isRelational(e.op) || e.op == Tok::Eq || e.op == Tok::NotEq;
    if (comparison && (e.op == Tok::Eq || e.op == Tok::NotEq) && a.base == Base::Struct && a == b && !holdsSampler(a)) {
        e.type = Type::scalar(Base::Bool);
        return;
    }
    Type out;
    if (!arithmeticType(a, b, out)) {
        std::string hint = (a.isMatrix() || b.isMatrix()) && (a.isVector() || b.isVector()) ? " (use mul())" : "";
        error(e.pos, "invalid operands to " + opName(e.op) + ": " + cgTypeName(a) + " and " + cgTypeName(b) + hint);
        return;
    }
    if (comparison) {
        if (out.isMatrix()) {
            error(e.pos, "comparison of matrices is not supported");
            return;
        }
        if (out.base == Base::Bool && isRelational(e.op)) out = out.withBase(Base::Int);
        convert(e.args[0], out, "operand of " + opName(e.op));
        convert(e.args[1], out, "operand of " + opName(e.op));
        e.type = out.withBase(Base::Bool);
        return;
    }
    if (out.base == Base::Bool) out = out.withBase(Base::Int);
    if (e.op == Tok::Percent && out.isMatrix()) {
        error(e.pos, "operator '%' cannot be applied to matrices");
        return;
    }
    for (ExprPtr& operand : e.args) {
        bool keepScalar = operand->type.isScalar() && e.op != Tok::Percent;
        convert(operand, keepScalar ? Type::scalar(out.base) : out, "operand of " + opName(e.op));
    }
    e.type = out;
}

void Checker::checkAssign(ExprPtr& ptr) {
    Expr& e = *ptr;
    check(e.args[0]);
    check(e.args[1]);
    const Type left = e.args[0]->type;
    e.type = Type{};
    if (left.isError() || e.args[1]->type.isError()) return;
    if (!e.args[0]->lvalue) {
        error(e.pos, "left side of " + opName(e.op) + " cannot be assigned to");
        return;
    }
    noteWrite(*e.args[0]);
    e.type = left;
    if (e.op == Tok::Assign) {
        convert(e.args[1], left, "assignment");
        return;
    }
    Tok op = binaryOf(e.op);
    const Type right = e.args[1]->type;
    Type out;
    if (!isBitwise(op) && !arithmeticType(left, right, out)) {
        error(e.pos, "invalid operands to " + opName(e.op) + ": " + cgTypeName(left) + " and " + cgTypeName(right));
        e.type = Type{};
        return;
    }
    if (out.base == Base::Bool) out = out.withBase(Base::Int);
    bool direct = !isBitwise(op) && out == left && op != Tok::Percent && !(op == Tok::Star && left.isMatrix() && right.isMatrix());
    if (direct) {
        convert(e.args[1], right.isScalar() ? Type::scalar(left.base) : left, "operand of " + opName(e.op));
        return;
    }
    // GLSL's operator differs or the types change: write "a = a op b".
    if (!isPure(*e.args[0])) {
        error(e.pos, "operator " + opName(e.op) + " on this left side is not supported: write it as a = a op b");
        e.type = Type{};
        return;
    }
    auto binary = std::make_unique<Expr>(ExprKind::Binary, e.pos);
    binary->op = op;
    binary->args.push_back(clone(*e.args[0]));
    binary->args.push_back(std::move(e.args[1]));
    binary->depth = e.depth;
    typeBinary(*binary);
    e.args[1] = std::move(binary);
    e.op = Tok::Assign;
    if (!e.args[1]->type.isError()) convert(e.args[1], left, "compound assignment");
}

void Checker::checkTernary(Expr& e) {
    for (ExprPtr& a : e.args) check(a);
    e.type = Type{};
    const Type c = e.args[0]->type, a = e.args[1]->type, b = e.args[2]->type;
    if (c.isError() || a.isError() || b.isError()) return;
    if (c.isVector()) {
        // Component-wise selection, written with the kc_select helper in GLSL.
        Type out;
        if (!a.isNumeric() || !b.isNumeric() || a.isMatrix() || b.isMatrix() || !arithmeticType(a, b, out) ||
            (a.isVector() && a.columns < c.columns) || (b.isVector() && b.columns < c.columns)) {
            error(e.pos, "a " + cgTypeName(c) + " condition selects between scalars or vectors of at least " +
                             std::to_string(c.columns) + " components");
            return;
        }
        out = Type::vector(out.base, c.columns);
        convert(e.args[0], Type::vector(Base::Bool, c.columns), "condition of '?:'");
        convert(e.args[1], out, "'?:' operand");
        convert(e.args[2], out, "'?:' operand");
        e.intValue = 1;
        e.type = out;
        return;
    }
    toBool(e.args[0], "condition of '?:'");
    Type out;
    if (a.isNumeric() && b.isNumeric()) {
        if (!arithmeticType(a, b, out)) {
            error(e.pos, "operands of '?:' have incompatible types " + cgTypeName(a) + " and " + cgTypeName(b));
            return;
        }
        convert(e.args[1], out, "'?:' operand");
        convert(e.args[2], out, "'?:' operand");
    } else if (a == b && !holdsSampler(a)) {
        out = a;
    } else {
        error(e.pos, "operands of '?:' have incompatible types " + cgTypeName(a) + " and " + cgTypeName(b));
        return;
    }
    e.type = out;
}

void Checker::checkMember(Expr& e) {
    check(e.args[0]);
    const Type t = e.args[0]->type;
    e.type = Type{};
    if (t.isError()) return;
    bool baseLvalue = e.args[0]->lvalue;
    if (t.base == Base::Struct && !t.isArray()) {
        for (const auto& member : t.structDecl->members) {
            if (member->name == e.name) {
                e.field = member.get();
                member->referenced = true;  // a varying member nobody reads or writes needs no slot
                e.type = member->type;
                e.lvalue = baseLvalue;
                // A varying member of a split entry input is a writable copy; a uniform one is not.
                const Expr& base = *e.args[0];
                if (base.kind == ExprKind::Name && base.var && base.var->splitStruct) e.lvalue = !member->uniformQualifier;
                return;
            }
        }
        error(e.pos, "struct '" + t.structDecl->name + "' has no member '" + e.name + "'");
        return;
    }
    if (t.isScalar() || t.isVector()) {
        if (!vectorSwizzle(e.name, t.columns, e.swizzle)) {
            error(e.pos, "invalid swizzle '." + e.name + "' of " + cgTypeName(t));
            return;
        }
    } else if (t.isMatrix()) {
        if (!matrixSwizzle(e.name, t.rows, t.columns, e.swizzle)) {
            error(e.pos, "invalid matrix swizzle '." + e.name + "' of " + cgTypeName(t));
            return;
        }
    } else {
        error(e.pos, "'." + e.name + "' applied to " + cgTypeName(t));
        return;
    }
    int n = static_cast<int>(e.swizzle.size());
    e.type = n == 1 ? Type::scalar(t.base) : Type::vector(t.base, n);
    std::vector<int> sorted = e.swizzle;
    std::sort(sorted.begin(), sorted.end());
    bool repeats = std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
    e.lvalue = baseLvalue && !repeats && (!t.isMatrix() || n == 1);
}

void Checker::checkIndex(Expr& e) {
    check(e.args[0]);
    check(e.args[1]);
    const Type t = e.args[0]->type;
    e.type = Type{};
    if (t.isError() || e.args[1]->type.isError()) return;
    if (!e.args[1]->type.isScalar()) {
        error(e.args[1]->pos, "index must be a scalar, not " + cgTypeName(e.args[1]->type));
        return;
    }
    convert(e.args[1], Type::scalar(Base::Int), "index");
    int size = 0;
    if (t.isArray()) {
        e.type = t.element();
        size = t.arraySize;
    } else if (t.isVector()) {
        e.type = Type::scalar(t.base);
        size = t.columns;
    } else if (t.isMatrix()) {
        e.type = Type::vector(t.base, t.columns);
        size = t.rows;
        if (t.rows == 1 && !constantInt(*e.args[1])) {
            error(e.args[1]->pos, "the row index of " + cgTypeName(t) + " must be the constant 0");
            e.type = Type{};
            return;
        }
    } else {
        error(e.pos, "cannot index a value of type " + cgTypeName(t));
        return;
    }
    if (auto index = constantInt(*e.args[1]); index && (*index < 0 || *index >= size)) {
        error(e.args[1]->pos, "index " + std::to_string(*index) + " out of range for " + cgTypeName(t));
        e.type = Type{};
        return;
    }
    e.lvalue = e.args[0]->lvalue;
}

}  // namespace Kestrane::CgCompiler
