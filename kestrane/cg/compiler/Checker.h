// Type checking of a parsed Cg program for one entry function: resolves
// names, overloads, swizzles and intrinsics; gives every expression its type
// and makes each implicit Cg conversion an explicit Convert node (GLSL 1.20
// accepts far fewer implicit conversions); marks the functions, uniforms and
// static globals the entry reaches; reports Cg errors with their position.
#pragma once

#include "kestrane/cg/compiler/Ast.h"
#include "kestrane/cg/compiler/CgCompiler.h"
#include "kestrane/cg/compiler/Intrinsics.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace Kestrane::CgCompiler {

class Checker {
public:
    Checker(Program& program, Diagnostics& diagnostics, Stage stage, std::string entry);
    // Checks everything; returns the entry's definition, or null after an error.
    FuncDecl* run();

    // Cost of the implicit conversion from -> to, or -1 when Cg has none.
    static int conversionCost(const Type& from, const Type& to);
    // Value of an integer constant expression, if it is one.
    static std::optional<int64_t> constantInt(const Expr& e);
    // True for an expression GLSL accepts in a const initializer.
    static bool isConstantExpr(const Expr& e);
    // True for an expression without calls, assignments or increments, which
    // may therefore be evaluated twice.
    static bool isPure(const Expr& e);

private:
    // declarations (Checker.cpp)
    void checkStruct(StructDecl& decl);
    void checkGlobal(VarDecl& var);
    void declareFunction(FuncDecl& func);
    void checkFunction(FuncDecl& func);
    bool resolveArraySize(VarDecl& var);
    void checkVarType(VarDecl& var, const char* what);
    void checkUniformStruct(VarDecl& var);
    void checkSplitStruct(VarDecl& param);
    void resolveSamplerKinds();
    void resolveGenericSamplers(FuncDecl& func);
    void useSampler(const Expr& sampler, int use);
    void checkInitializer(VarDecl& var);
    void checkInitList(Expr& list, const Type& target);
    bool elideBraces(Expr& list, const Type& target);
    bool groupComponents(Expr& e, const Type& element, ExprKind kind, const std::string& what);
    void checkStmt(Stmt& stmt);
    void checkBlock(Stmt& block, bool newScope);
    void declareLocal(VarDecl& var);
    FuncDecl* findEntry();
    void markReachable(FuncDecl* entry);
    void visit(FuncDecl* func, std::vector<FuncDecl*>& path);
    void useGlobal(VarDecl* var);

    // expressions (CheckExpr.cpp)
    void check(ExprPtr& e);
    bool convert(ExprPtr& e, const Type& to, const std::string& context);
    void noteWrite(const Expr& target);
    void toBool(ExprPtr& e, const std::string& context);
    void checkName(Expr& e);
    void checkUnary(Expr& e);
    void typeBinary(Expr& e);
    void checkAssign(ExprPtr& e);
    void checkTernary(Expr& e);
    void checkMember(Expr& e);
    void checkIndex(Expr& e);
    bool arithmeticType(const Type& a, const Type& b, Type& out);
    ExprPtr clone(const Expr& e);

    // constructors and casts (CheckConstruct.cpp)
    void checkConstruct(Expr& e);
    bool groupConstructorArguments(Expr& e, const Type& element);
    void checkCast(Expr& e);

    // calls (CheckCall.cpp)
    void checkCall(Expr& e);
    void checkUserCall(Expr& e, std::vector<FuncDecl*>& candidates, bool report);
    void checkIntrinsic(Expr& e, const IntrinsicInfo& info);
    void checkMul(Expr& e);
    void checkTexture(Expr& e, const IntrinsicInfo& info);
    bool textureArgs(Expr& e, int coordinates, int derivatives);

    void error(SourcePos pos, std::string message) { diagnostics_.error(pos, std::move(message)); }
    VarDecl* lookup(const std::string& name);

    Program& program_;
    Diagnostics& diagnostics_;
    Stage stage_;
    std::string entryName_;
    std::vector<std::map<std::string, VarDecl*>> scopes_;
    std::map<std::string, VarDecl*> globals_;
    std::map<std::string, std::vector<FuncDecl*>> functions_;
    std::map<std::string, StructDecl*> structs_;
    std::map<const StructDecl*, int> structDepth_;  // nesting of struct members
    std::vector<std::pair<VarDecl*, VarDecl*>> samplerLinks_;  // argument -> parameter
    std::vector<VarDecl*> samplerVars_;                        // every sampler a lookup or link names
    FuncDecl* current_ = nullptr;  // function (or global initializer scope) being checked
    int loops_ = 0;
};

}  // namespace Kestrane::CgCompiler
