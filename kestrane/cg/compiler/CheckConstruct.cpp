// Checker: constructors (of vectors, matrices, arrays and structs) and casts.
#include "kestrane/cg/compiler/Checker.h"

namespace Kestrane::CgCompiler {

void Checker::checkConstruct(Expr& e) {
    if (!e.intValue)
        for (ExprPtr& a : e.args) check(a);
    const Type target = e.written;
    e.type = Type{};
    if (target.arraySize != 0) {
        // Array constructor: one value of the element type per element.
        Type element = target.element();
        int size = target.arraySize > 0 ? target.arraySize : static_cast<int>(e.args.size());
        if (holdsSampler(element) || element.isVoid() || element.isError()) {
            error(e.pos, "cannot construct an array of " + cgTypeName(element));
            return;
        }
        if (target.arraySize > 0 && static_cast<int>(e.args.size()) > size && element.isNumeric() &&
            !groupConstructorArguments(e, element))
            return;
        if (static_cast<int>(e.args.size()) != size || size == 0) {
            error(e.pos, "array constructor " + cgTypeName(element) + "[" + std::to_string(size) + "] takes " +
                             std::to_string(size) + " values, " + std::to_string(e.args.size()) + " given");
            return;
        }
        for (ExprPtr& a : e.args)
            if (a->type.isError() || !convert(a, element, "array constructor")) return;
        e.type = element;
        e.type.arraySize = size;
        return;
    }
    if (target.base == Base::Struct && target.structDecl && !holdsSampler(target)) {
        // S(a, b, ...): one value per member, in member order.
        const auto& members = target.structDecl->members;
        if (e.args.size() != members.size()) {
            error(e.pos, "constructor of struct '" + target.structDecl->name + "' takes " +
                             std::to_string(members.size()) + " values, " + std::to_string(e.args.size()) + " given");
            return;
        }
        for (size_t i = 0; i < members.size(); ++i)
            if (e.args[i]->type.isError() || !convert(e.args[i], members[i]->type, "constructor of '" + target.structDecl->name + "'"))
                return;
        e.type = target;
        return;
    }
    if (!target.isNumeric()) {
        error(e.pos, "cannot construct a value of type " + cgTypeName(target));
        return;
    }
    for (ExprPtr& a : e.args)
        if (a->type.isError()) return;
    if (e.args.size() == 1 && e.args[0]->type.isMatrix() && target.isMatrix()) {
        if (convert(e.args[0], target, "constructor")) e.type = target;
        return;
    }
    int components = 0;
    for (ExprPtr& a : e.args) {
        if (!a->type.isScalar() && !a->type.isVector() && !a->type.isThinMatrix()) {
            error(a->pos, "argument of " + cgTypeName(target) + " constructor must be a scalar or vector, not " +
                              cgTypeName(a->type));
            return;
        }
        components += a->type.components();
        convert(a, a->type.withBase(target.base), "constructor argument");
    }
    bool splat = e.args.size() == 1 && e.args[0]->type.isScalar() && !target.isMatrix();
    if (!splat && components != target.components()) {
        error(e.pos, cgTypeName(target) + " constructor takes " + std::to_string(target.components()) +
                         " components, " + std::to_string(components) + " given");
        return;
    }
    e.type = target;
}

// T[N](...) given the components of its elements one after another (as
// bool3x3(...) is, kept as bool3[3]): each run of arguments that fills one
// element becomes that element's constructor. False after an error.
bool Checker::groupConstructorArguments(Expr& e, const Type& element) {
    for (const ExprPtr& a : e.args)
        if (a->type.isError() || (!a->type.isScalar() && !a->type.isVector())) return true;
    if (!groupComponents(e, element, ExprKind::Construct, "constructor of " + cgTypeName(e.written))) return false;
    for (ExprPtr& group : e.args) {
        checkConstruct(*group);
        if (group->type.isError()) return false;
    }
    return true;
}

void Checker::checkCast(Expr& e) {
    check(e.args[0]);
    e.type = Type{};
    const Type from = e.args[0]->type;
    if (from.isError()) return;
    if (e.written.base == Base::Struct && !e.written.isArray() && from.isScalar()) {
        // (S)x sets every member of S to x (a zeroed struct: (S)0).
        if (holdsSampler(e.written)) {
            error(e.pos, "cannot cast " + cgTypeName(from) + " to '" + cgTypeName(e.written) + "', which holds a sampler");
            return;
        }
        if (!isPure(*e.args[0])) {
            error(e.pos, "the value cast to struct '" + cgTypeName(e.written) + "' must have no side effects");
            return;
        }
        e.type = e.written;
        return;
    }
    if (Checker::conversionCost(from, e.written) < 0) {
        error(e.pos, "cannot cast " + cgTypeName(from) + " to " + cgTypeName(e.written));
        return;
    }
    convert(e.args[0], e.written, "cast");
    e.type = e.written;
}

}  // namespace Kestrane::CgCompiler
