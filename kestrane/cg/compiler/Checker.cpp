// Checker: declarations, statements and reachability from the entry.
#include "kestrane/cg/compiler/Checker.h"

#include <algorithm>
#include <functional>
#include <set>

namespace Kestrane::CgCompiler {

Checker::Checker(Program& program, Diagnostics& diagnostics, Stage stage, std::string entry)
    : program_(program), diagnostics_(diagnostics), stage_(stage), entryName_(std::move(entry)) {}

FuncDecl* Checker::run() {
    for (TopLevel& item : program_.order) {
        if (diagnostics_.full()) return nullptr;
        if (item.structDecl) checkStruct(*item.structDecl);
        if (item.global) checkGlobal(*item.global);
        if (item.function) declareFunction(*item.function);
    }
    for (auto& func : program_.functions)
        if (func->body) resolveGenericSamplers(*func);
    for (auto& func : program_.functions) {
        if (diagnostics_.full()) return nullptr;
        if (func->body) checkFunction(*func);
    }
    resolveSamplerKinds();
    if (diagnostics_.hasErrors()) return nullptr;
    FuncDecl* entry = findEntry();
    if (!entry) return nullptr;
    markReachable(entry);
    return diagnostics_.hasErrors() ? nullptr : entry;
}

VarDecl* Checker::lookup(const std::string& name) {
    for (auto scope = scopes_.rbegin(); scope != scopes_.rend(); ++scope)
        if (auto found = scope->find(name); found != scope->end()) return found->second;
    auto found = globals_.find(name);
    return found == globals_.end() ? nullptr : found->second;
}

bool Checker::resolveArraySize(VarDecl& var) {
    if (!var.arraySizeExpr) return true;
    check(var.arraySizeExpr);
    std::optional<int64_t> size = constantInt(*var.arraySizeExpr);
    if (!size || *size <= 0 || *size > 4096) {
        if (!var.arraySizeExpr->type.isError())
            error(var.arraySizeExpr->pos, "array size of '" + var.name + "' must be a constant integer from 1 to 4096");
        var.type = Type{};
        return false;
    }
    var.type.arraySize = static_cast<int>(*size);
    return true;
}

void Checker::checkVarType(VarDecl& var, const char* what) {
    if (var.type.base == Base::Struct && var.type.isArray() == false && var.type.structDecl == nullptr)
        var.type = Type{};
    bool sampler = var.type.element().isSampler();
    if (var.type.base == Base::SamplerAny && var.storage != Storage::Param) {
        error(var.pos, std::string("the generic type 'sampler' of ") + what + " '" + var.name +
                           "' is supported for function parameters only (give it a sampler type)");
        var.type = Type{};
        return;
    }
    if (sampler && var.type.isArray()) {
        error(var.pos, std::string("sampler array ") + what + " '" + var.name + "' is not supported");
        var.type = Type{};
        return;
    }
    // Samplers, and structs holding them, exist only as uniforms and in-parameters
    // (GLSL has no sampler variables); a struct member is checked where the struct is used.
    bool allowed = var.storage == Storage::GlobalUniform || var.storage == Storage::EntryUniform ||
                   var.storage == Storage::Member || (var.storage == Storage::Param && var.mode == ParamMode::In);
    if (!allowed && holdsSampler(var.type)) {
        error(var.pos, std::string(sampler ? "sampler " : "") + what + " '" + var.name + "' of type " +
                           cgTypeName(var.type) + " is not supported (samplers are uniforms or in-parameters)");
        var.type = Type{};
        return;
    }
    bool uniform = var.storage == Storage::GlobalUniform || var.storage == Storage::EntryUniform;
    if (uniform && var.type.element().isThinMatrix()) {
        error(var.pos, "uniform '" + var.name + "' of type " + cgTypeName(var.type) +
                           " is not supported: declare a matrix of one row or column as a vector");
        var.type = Type{};
        return;
    }
    if (uniform) checkUniformStruct(var);
}

// A uniform struct becomes one GLSL uniform whose members the runtime sets by
// "name.member" ("name[i].member" in an array of structs); matrix members
// would need the transposed upload of matrix uniforms inside a value that
// locals store untransposed, so they are refused. Arrays of structs cannot
// hold samplers (GLSL 1.20 has no sampler arrays to index).
void Checker::checkUniformStruct(VarDecl& var) {
    if (var.type.base != Base::Struct || !var.type.structDecl) return;
    if (var.type.isArray() && holdsSampler(var.type)) {
        error(var.pos, "uniform array of structs '" + var.name + "' holds a sampler, which is not supported");
        var.type = Type{};
        return;
    }
    if (var.init) {
        error(var.init->pos, "uniform struct '" + var.name + "' cannot have a default value");
        var.type = Type{};
        return;
    }
    std::vector<const StructDecl*> pending{var.type.structDecl};
    while (!pending.empty()) {
        const StructDecl* s = pending.back();
        pending.pop_back();
        for (const auto& member : s->members) {
            if (member->type.element().isMatrix()) {
                error(var.pos, "uniform struct '" + var.name + "': matrix member '" + member->name +
                                   "' is not supported (declare the matrix as its own uniform)");
                var.type = Type{};
                return;
            }
            if (member->type.base == Base::Struct && member->type.isArray() && holdsSampler(member->type)) {
                error(var.pos, "uniform struct '" + var.name + "': array of structs '" + member->name +
                                   "' holds a sampler, which is not supported");
                var.type = Type{};
                return;
            }
            if (member->type.base == Base::Struct && member->type.structDecl) pending.push_back(member->type.structDecl);
        }
    }
}

// An entry input of a struct type with members written "uniform": those
// members are uniform parameters ("ORIG.texture"), the others varyings. Only
// direct members; the varying ones are scalars or vectors.
void Checker::checkSplitStruct(VarDecl& param) {
    const Type& t = param.type;
    if (param.storage != Storage::Param || t.base != Base::Struct || t.isArray() || !t.structDecl) return;
    bool anyUniform = false;
    for (const auto& m : t.structDecl->members) {
        // Samplers never vary: a sampler member is uniform, written so or not.
        if (m->type.isSampler() && param.mode == ParamMode::In) m->uniformQualifier = true;
        anyUniform = anyUniform || m->uniformQualifier;
    }
    if (!anyUniform) return;
    if (param.mode != ParamMode::In) {
        error(param.pos, "output '" + param.name + "' of struct '" + t.structDecl->name + "' has uniform members");
        param.type = Type{};
        return;
    }
    for (const auto& m : t.structDecl->members) {
        std::string problem;
        if (m->uniformQualifier && m->type.element().isMatrix()) problem = "a uniform matrix member";
        else if (m->uniformQualifier && m->type.base == Base::Struct) problem = "a uniform struct member";
        else if (!m->uniformQualifier && holdsSampler(m->type)) problem = "a sampler member that is not uniform";
        else if (!m->uniformQualifier && !m->type.isScalar() && !m->type.isVector()) problem = "a varying member that is not a scalar or vector";
        if (!problem.empty()) {
            error(m->pos, "input '" + param.name + "' of struct '" + t.structDecl->name + "' has " + problem + " ('" +
                              m->name + "'), which is not supported");
            param.type = Type{};
            return;
        }
    }
    param.splitStruct = true;
}

void Checker::checkStruct(StructDecl& decl) {
    std::set<std::string> names;
    int depth = 1;
    for (auto& member : decl.members) {
        resolveArraySize(*member);
        checkVarType(*member, "member");
        if (member->type.base == Base::Struct && member->type.structDecl)
            depth = std::max(depth, 1 + structDepth_[member->type.structDecl]);
        if (!names.insert(member->name).second)
            error(member->pos, "duplicate member '" + member->name + "' in struct '" + decl.name + "'");
    }
    if (depth > 16) error(decl.pos, "struct '" + decl.name + "' is nested too deeply");
    structDepth_[&decl] = depth;
    structs_[decl.name] = &decl;
}

void Checker::checkGlobal(VarDecl& var) {
    resolveArraySize(var);
    if (var.storage == Storage::GlobalStatic && var.type.isSampler()) {
        error(var.pos, "sampler '" + var.name + "' cannot be static");
        var.type = Type{};
    }
    checkVarType(var, "variable");
    if (globals_.count(var.name) || functions_.count(var.name)) {
        error(var.pos, "redefinition of '" + var.name + "'");
        return;
    }
    auto scope = std::make_unique<FuncDecl>();
    scope->name = var.name;
    var.initScope = scope.get();
    program_.initScopes.push_back(std::move(scope));
    if (var.init) {
        FuncDecl* saved = current_;
        current_ = var.initScope;
        checkInitializer(var);
        current_ = saved;
        if (var.storage == Storage::GlobalUniform && !isConstantExpr(*var.init))
            error(var.init->pos, "the default value of uniform '" + var.name + "' must be a constant expression");
        var.constantInit = isConstantExpr(*var.init);
    } else if (var.arraySizeFromInit) {
        error(var.pos, "array '" + var.name + "' needs a size or an initializer");
        var.type = Type{};
    }
    if (var.isConst && !var.init) error(var.pos, "constant '" + var.name + "' needs an initializer");
    globals_[var.name] = &var;
}

void Checker::checkInitializer(VarDecl& var) {
    if (var.init->kind == ExprKind::InitList) {
        if (var.arraySizeFromInit) var.type.arraySize = static_cast<int>(var.init->args.size());
        if (var.arraySizeFromInit && var.type.arraySize == 0) {
            error(var.init->pos, "empty initializer for array '" + var.name + "'");
            var.type = Type{};
        }
        checkInitList(*var.init, var.type);
        return;
    }
    check(var.init);
    if (var.arraySizeFromInit) {
        if (!var.init->type.isArray()) {
            if (!var.init->type.isError())
                error(var.pos, "array '" + var.name + "' needs a size, an initializer list or an array value");
            var.type = Type{};
            return;
        }
        var.type.arraySize = var.init->type.arraySize;
    }
    convert(var.init, var.type, "initializer of '" + var.name + "'");
}

void Checker::checkInitList(Expr& list, const Type& target) {
    list.type = target;
    if (target.isError()) return;
    auto element = [&](ExprPtr& e, const Type& type) {
        if (e->kind == ExprKind::InitList) {
            checkInitList(*e, type);
        } else {
            check(e);
            convert(e, type, "initializer element");
        }
    };
    if (target.isArray() || target.base == Base::Struct) {
        size_t count = target.isArray() ? static_cast<size_t>(target.arraySize) : target.structDecl->members.size();
        if (list.args.size() > count && target.isArray() && target.element().isNumeric() && !elideBraces(list, target))
            return;
        if (list.args.size() != count) {
            error(list.pos, "initializer of " + cgTypeName(target) + " has " + std::to_string(list.args.size()) +
                                " elements, " + std::to_string(count) + " expected");
            list.type = Type{};
            return;
        }
        for (size_t i = 0; i < count; ++i)
            element(list.args[i], target.isArray() ? target.element() : target.structDecl->members[i]->type);
        return;
    }
    if (!target.isNumeric()) {
        error(list.pos, "an initializer list cannot initialize " + cgTypeName(target));
        list.type = Type{};
        return;
    }
    // Vector, matrix or scalar: scalars and vectors whose components add up.
    int components = 0;
    for (ExprPtr& e : list.args) {
        if (e->kind == ExprKind::InitList && target.isMatrix()) {
            // A matrix may be given row by row, each row a list of its own.
            checkInitList(*e, Type::vector(target.base, target.columns));
            if (e->type.isError()) {
                list.type = Type{};
                return;
            }
            components += target.columns;
            continue;
        }
        if (e->kind == ExprKind::InitList) {
            error(e->pos, "nested initializer list in " + cgTypeName(target));
            list.type = Type{};
            return;
        }
        if (!list.intValue) check(e);
        if (e->type.isError()) {
            list.type = Type{};
            return;
        }
        if (!e->type.isScalar() && !e->type.isVector()) {
            error(e->pos, "initializer element of " + cgTypeName(target) + " must be a scalar or vector");
            list.type = Type{};
            return;
        }
        components += e->type.components();
        convert(e, e->type.withBase(target.base), "initializer element");
    }
    if (components != target.components()) {
        error(list.pos, "initializer of " + cgTypeName(target) + " has " + std::to_string(components) +
                            " components, " + std::to_string(target.components()) + " expected");
        list.type = Type{};
    }
}

// Braces left out of an array's initializer, as C allows: {1, 2, 3, 4} for a
// float2[2] is {{1, 2}, {3, 4}}. The flat elements (scalars and vectors) are
// grouped into one list per array element, each taking as many components as
// the element has. False, after an error, when they do not divide evenly.
bool Checker::elideBraces(Expr& list, const Type& target) {
    for (ExprPtr& e : list.args) {
        if (e->kind == ExprKind::InitList) return true;  // braces written: counted as they are
    }
    for (ExprPtr& e : list.args) {
        check(e);
        if (e->type.isError()) {
            list.type = Type{};
            return false;
        }
        if (!e->type.isScalar() && !e->type.isVector()) return true;
    }
    if (groupComponents(list, target.element(), ExprKind::InitList, "initializer of " + cgTypeName(target)))
        return true;
    list.type = Type{};
    return false;
}

// Groups the checked scalars and vectors of e.args into runs that each fill
// one value of type element, made nodes of kind (an initializer list or an
// element constructor) whose arguments are marked checked. False after an
// error when they do not divide evenly.
bool Checker::groupComponents(Expr& e, const Type& element, ExprKind kind, const std::string& what) {
    const int want = element.components();
    std::vector<ExprPtr> grouped;
    size_t next = 0;
    while (next < e.args.size()) {
        auto group = std::make_unique<Expr>(kind, e.args[next]->pos);
        group->written = element;
        group->intValue = 1;  // arguments already checked
        int have = 0;
        while (have < want && next < e.args.size()) {
            have += e.args[next]->type.components();
            group->args.push_back(std::move(e.args[next++]));
        }
        if (have != want) {
            error(group->pos, what + ": the values do not divide into " + cgTypeName(element) + " values");
            return false;
        }
        grouped.push_back(std::move(group));
    }
    e.args = std::move(grouped);
    return true;
}

namespace {

bool sameSignature(const FuncDecl& a, const FuncDecl& b) {
    if (a.params.size() != b.params.size()) return false;
    for (size_t i = 0; i < a.params.size(); ++i)
        if (!(a.params[i]->type == b.params[i]->type) || a.params[i]->mode != b.params[i]->mode) return false;
    return true;
}

}  // namespace

void Checker::declareFunction(FuncDecl& func) {
    bool isEntry = func.name == entryName_;
    std::set<std::string> names;
    for (auto& param : func.params) {
        if (isEntry && param->uniformQualifier) param->storage = Storage::EntryUniform;
        resolveArraySize(*param);
        checkVarType(*param, "parameter");
        if (isEntry) checkSplitStruct(*param);
        if (!names.insert(param->name).second) error(param->pos, "duplicate parameter '" + param->name + "'");
    }
    if (holdsSampler(func.returnType)) error(func.pos, "a function cannot return a sampler or a struct holding one");
    if (globals_.count(func.name) || structs_.count(func.name)) {
        error(func.pos, "redefinition of '" + func.name + "'");
        return;
    }
    std::vector<FuncDecl*>& overloads = functions_[func.name];
    for (FuncDecl* other : overloads) {
        if (!sameSignature(*other, func)) continue;
        if (!(other->returnType == func.returnType)) {
            error(func.pos, "'" + func.name + "' redeclared with a different return type");
            return;
        }
        FuncDecl* otherDefinition = other->definition ? other->definition : (other->body ? other : nullptr);
        if (func.body && otherDefinition) {
            error(func.pos, "redefinition of function '" + func.name + "'");
            return;
        }
        // Link prototype and definition: both name the definition.
        if (func.body) {
            other->definition = &func;
            for (FuncDecl* o : overloads)
                if (o->definition == other) o->definition = &func;
        } else {
            func.definition = otherDefinition;
        }
        return;
    }
    overloads.push_back(&func);
}

namespace {

bool hasReturn(const Stmt& s) {
    if (s.kind == StmtKind::Return) return true;
    for (const auto& child : s.body)
        if (hasReturn(*child)) return true;
    return (s.then && hasReturn(*s.then)) || (s.otherwise && hasReturn(*s.otherwise));
}

}  // namespace

void Checker::checkFunction(FuncDecl& func) {
    current_ = &func;
    scopes_.emplace_back();
    for (auto& param : func.params) scopes_.back()[param->name] = param.get();
    checkBlock(*func.body, false);
    scopes_.pop_back();
    current_ = nullptr;
    if (!func.returnType.isVoid() && !func.returnType.isError() && !hasReturn(*func.body))
        error(func.pos, "function '" + func.name + "' never returns its " + cgTypeName(func.returnType));
}

void Checker::checkBlock(Stmt& block, bool newScope) {
    if (newScope) scopes_.emplace_back();
    for (auto& stmt : block.body) {
        if (diagnostics_.full()) break;
        checkStmt(*stmt);
    }
    if (newScope) scopes_.pop_back();
}

void Checker::declareLocal(VarDecl& var) {
    resolveArraySize(var);
    checkVarType(var, "variable");
    if (!var.semantic.empty()) error(var.pos, "a local variable cannot have a semantic");
    if (var.init) checkInitializer(var);
    else if (var.arraySizeFromInit) error(var.pos, "array '" + var.name + "' needs a size or an initializer");
    if (var.isConst && !var.init) error(var.pos, "constant '" + var.name + "' needs an initializer");
    auto& scope = scopes_.back();
    if (scope.count(var.name)) error(var.pos, "redefinition of '" + var.name + "'");
    scope[var.name] = &var;
}

void Checker::checkStmt(Stmt& stmt) {
    switch (stmt.kind) {
    case StmtKind::Block:
        checkBlock(stmt, true);
        break;
    case StmtKind::Decl:
        for (auto& var : stmt.decls) declareLocal(*var);
        break;
    case StmtKind::Expr:
        check(stmt.expr);
        break;
    case StmtKind::If:
        check(stmt.cond);
        toBool(stmt.cond, "condition of 'if'");
        scopes_.emplace_back();
        checkStmt(*stmt.then);
        scopes_.pop_back();
        if (stmt.otherwise) {
            scopes_.emplace_back();
            checkStmt(*stmt.otherwise);
            scopes_.pop_back();
        }
        break;
    case StmtKind::For:
    case StmtKind::While:
    case StmtKind::Do:
        scopes_.emplace_back();
        if (stmt.init) checkStmt(*stmt.init);
        if (stmt.cond) {
            check(stmt.cond);
            toBool(stmt.cond, "loop condition");
        }
        if (stmt.step) check(stmt.step);
        ++loops_;
        scopes_.emplace_back();
        checkStmt(*stmt.then);
        scopes_.pop_back();
        --loops_;
        scopes_.pop_back();
        break;
    case StmtKind::Return: {
        const Type& want = current_->returnType;
        if (stmt.expr) {
            check(stmt.expr);
            if (want.isVoid()) error(stmt.pos, "void function '" + current_->name + "' returns a value");
            else convert(stmt.expr, want, "return value");
        } else if (!want.isVoid() && !want.isError()) {
            error(stmt.pos, "function '" + current_->name + "' must return a " + cgTypeName(want));
        }
        break;
    }
    case StmtKind::Break:
    case StmtKind::Continue:
        if (loops_ == 0) error(stmt.pos, std::string(stmt.kind == StmtKind::Break ? "'break'" : "'continue'") + " outside a loop");
        break;
    case StmtKind::Discard:
        current_->fragmentOnly.emplace_back(stmt.pos, "discard");
        break;
    case StmtKind::Empty:
        break;
    }
}

// A sampler is a shadow sampler in GLSL when a depth-compare lookup reads it;
// a sampler passed to a function parameter shares the parameter's kind, so
// kinds spread along those links. One sampler cannot serve both kinds. A
// lookup that needs the texture's size marks the whole group the same way,
// so every function parameter on the way receives the size too.
void Checker::resolveSamplerKinds() {
    std::map<VarDecl*, VarDecl*> parent;
    std::function<VarDecl*(VarDecl*)> root = [&](VarDecl* v) {
        while (parent.count(v) && parent[v] != v) v = parent[v];
        return v;
    };
    for (auto [a, b] : samplerLinks_) {
        VarDecl* ra = root(a);
        VarDecl* rb = root(b);
        if (ra != rb) parent[ra] = rb;
    }
    std::map<VarDecl*, int> use;
    for (VarDecl* v : samplerVars_) use[root(v)] |= v->samplerUse;
    std::set<VarDecl*> reported;
    for (VarDecl* v : samplerVars_) {
        int u = use[root(v)];
        v->shadow = (u & 2) != 0;
        v->needsSize = (u & 4) != 0;
        if ((u & 3) == 3 && reported.insert(root(v)).second)
            error(v->pos, "sampler '" + v->name + "' is used for both depth-compare (shadow) and ordinary lookups");
    }
}

void Checker::useGlobal(VarDecl* var) {
    if (current_) current_->globalsUsed.push_back(var);
}

FuncDecl* Checker::findEntry() {
    auto found = functions_.find(entryName_);
    FuncDecl* entry = nullptr;
    if (found != functions_.end()) {
        if (found->second.size() > 1) {
            error(found->second[1]->pos, "entry function '" + entryName_ + "' is overloaded");
            return nullptr;
        }
        FuncDecl* f = found->second[0];
        entry = f->body ? f : f->definition;
    }
    if (!entry) error(SourcePos{}, "entry function '" + entryName_ + "' is not defined");
    return entry;
}

void Checker::markReachable(FuncDecl* entry) {
    std::vector<FuncDecl*> path;
    visit(entry, path);
}

// Depth-first walk of the call graph; a call back into the path is recursion,
// which neither Cg profiles nor GLSL allow.
void Checker::visit(FuncDecl* func, std::vector<FuncDecl*>& path) {
    if (std::find(path.begin(), path.end(), func) != path.end()) {
        error(func->pos, "recursive call of '" + func->name + "' is not supported");
        return;
    }
    if (func->reachable || diagnostics_.full()) return;
    if (path.size() > 64) {
        error(func->pos, "calls nested too deeply at '" + func->name + "'");
        return;
    }
    func->reachable = true;
    if (stage_ == Stage::Vertex)
        for (auto& [pos, what] : func->fragmentOnly)
            error(pos, "'" + what + "' is only available in fragment programs");
    path.push_back(func);
    for (FuncDecl* callee : func->calls) {
        FuncDecl* target = callee->body ? callee : callee->definition;
        if (!target) {
            error(callee->pos, "function '" + callee->name + "' is declared but never defined");
            continue;
        }
        visit(target, path);
    }
    path.pop_back();
    for (VarDecl* var : func->globalsUsed) {
        if (var->referenced) continue;
        var->referenced = true;
        if (var->initScope) visit(var->initScope, path);
    }
}

}  // namespace Kestrane::CgCompiler
