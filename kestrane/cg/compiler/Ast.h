// The typed tree of a Cg translation unit. The Parser builds it with the
// types written in the source; the Checker resolves names, overloads and
// intrinsics, gives every expression its type and wraps operands in explicit
// Convert nodes where Cg converts implicitly; the Emitter prints it as GLSL.
// Nodes own their children through std::unique_ptr; the Program owns all.
#pragma once

#include "kestrane/cg/compiler/Diagnostics.h"
#include "kestrane/cg/compiler/Token.h"

#include <memory>
#include <string>
#include <vector>

namespace Kestrane::CgCompiler {

struct StructDecl;
struct FuncDecl;
struct VarDecl;

enum class Base : uint8_t {
    Error, Void, Bool, Int, Float,
    Sampler1D, Sampler2D, Sampler3D, SamplerCube, SamplerRect,
    SamplerAny,  // Cg's generic "sampler": a parameter takes the kind its lookups read
    Struct,
};

// Scalar: columns 1, rows 0. Vector: columns 2-4. Matrix floatRxC: rows R,
// columns C (a row is a C-vector). arraySize > 0 for arrays (one dimension).
struct Type {
    Base base = Base::Error;
    int columns = 1;
    int rows = 0;
    int arraySize = 0;
    const StructDecl* structDecl = nullptr;

    static Type scalar(Base b) { return Type{b, 1, 0, 0, nullptr}; }
    static Type vector(Base b, int n) { return Type{b, n, 0, 0, nullptr}; }
    static Type matrix(Base b, int r, int c) { return Type{b, c, r, 0, nullptr}; }

    bool isError() const { return base == Base::Error; }
    bool isVoid() const { return base == Base::Void; }
    bool isArray() const { return arraySize > 0; }
    bool isNumeric() const { return !isArray() && (base == Base::Bool || base == Base::Int || base == Base::Float); }
    bool isSampler() const { return !isArray() && base >= Base::Sampler1D && base <= Base::SamplerAny; }
    bool isScalar() const { return isNumeric() && rows == 0 && columns == 1; }
    bool isVector() const { return isNumeric() && rows == 0 && columns > 1; }
    bool isMatrix() const { return isNumeric() && rows > 0; }
    // A matrix with one row or one column (float1x4, float4x1, float1x1),
    // which GLSL keeps as a vector (or a float).
    bool isThinMatrix() const { return isMatrix() && (rows == 1 || columns == 1); }
    int components() const { return rows > 0 ? rows * columns : columns; }
    Type element() const { Type t = *this; t.arraySize = 0; return t; }
    Type withBase(Base b) const { Type t = *this; t.base = b; return t; }
    bool operator==(const Type& o) const {
        return base == o.base && columns == o.columns && rows == o.rows && arraySize == o.arraySize &&
               structDecl == o.structDecl;
    }
};

std::string cgTypeName(const Type& type);    // "float4x4", "sampler2D", "Light[3]"
std::string glslTypeName(const Type& type);  // element type: "mat4", "vec3", "sampler2D"
// True for a sampler or a struct with a sampler member (at any depth): such
// values are uniforms or in-parameters only.
bool holdsSampler(const Type& type);
// Type for a built-in type name ("float3", "half4x4", "sampler2D"); Error when none.
Type builtinType(const std::string& name);

enum class ExprKind : uint8_t {
    IntLit, FloatLit, BoolLit, Name, Unary, Postfix, Binary, Assign, Ternary, Call,
    Construct, Cast, Member, Index, InitList, Convert, Comma,
};

struct Expr {
    ExprKind kind;
    SourcePos pos;
    int depth = 1;             // height of this subtree, bounded by the parser
    Tok op = Tok::End;         // Unary, Postfix, Binary, Assign
    std::string name;          // Name, Call, Member (field or swizzle letters)
    int64_t intValue = 0;
    double floatValue = 0.0;
    std::vector<std::unique_ptr<Expr>> args;  // operands, call arguments, elements
    Type written;              // Construct / Cast: the type named in the source
                               // (array constructor "T[N](...)": arraySize N, or -1 for "T[]")
    // Filled by the checker:
    Type type;
    bool lvalue = false;
    VarDecl* var = nullptr;          // Name
    FuncDecl* func = nullptr;        // Call of a user function
    int intrinsic = -1;              // Call of an intrinsic (index in the intrinsic table)
    std::vector<int> swizzle;        // Member on a vector/scalar: component indices;
                                     // on a matrix: row * 4 + column
    const VarDecl* field = nullptr;  // Member of a struct

    Expr(ExprKind k, SourcePos p) : kind(k), pos(p) {}
};

using ExprPtr = std::unique_ptr<Expr>;

enum class Storage : uint8_t {
    Local, Param, GlobalUniform, GlobalStatic, EntryUniform, Member,
};

enum class ParamMode : uint8_t { In, Out, InOut };

struct VarDecl {
    std::string name;
    SourcePos pos;
    Type type;
    Storage storage = Storage::Local;
    ParamMode mode = ParamMode::In;
    bool isConst = false;
    bool uniformQualifier = false;  // written "uniform" (entry parameter, global or struct member)
    std::string semantic;           // upper case, "" when none
    ExprPtr init;
    ExprPtr arraySizeExpr;          // size written in the source, resolved by the checker
    bool arraySizeFromInit = false; // written "[]"
    // Filled by the checker / emitter:
    std::string glslName;
    bool referenced = false;
    bool constantInit = false;      // init is a constant expression (GLSL const)
    FuncDecl* initScope = nullptr;  // global: records what its initializer uses
    int samplerUse = 0;             // sampler: 1 ordinary lookups, 2 depth-compare (shadow) lookups,
                                    // 4 lookups that need the texture's size (offsets, fetches, sizes)
    bool shadow = false;            // sampler declared as a GLSL shadow sampler
    bool writtenUniform = false;    // a uniform the program assigns to: it works on a copy
    bool needsSize = false;         // sampler parameter: the function also takes its texture's size
    bool splitStruct = false;       // entry input struct with uniform members: those are
                                    // read from a uniform, the others from varyings
};

enum class StmtKind : uint8_t {
    Block, Decl, Expr, If, For, While, Do, Return, Break, Continue, Discard, Empty,
};

struct Stmt {
    StmtKind kind;
    SourcePos pos;
    std::vector<std::unique_ptr<Stmt>> body;      // Block children
    std::vector<std::unique_ptr<VarDecl>> decls;  // Decl
    std::unique_ptr<Stmt> init;                   // For
    ExprPtr cond, step, expr;                     // If/While/Do/For cond, For step, Expr/Return value
    std::unique_ptr<Stmt> then, otherwise;        // If, loops' body in then

    Stmt(StmtKind k, SourcePos p) : kind(k), pos(p) {}
};

using StmtPtr = std::unique_ptr<Stmt>;

struct StructDecl {
    std::string name;
    SourcePos pos;
    std::vector<std::unique_ptr<VarDecl>> members;
    std::string glslName;
};

struct FuncDecl {
    std::string name;
    SourcePos pos;
    Type returnType;
    std::string returnSemantic;
    std::vector<std::unique_ptr<VarDecl>> params;
    StmtPtr body;                   // null for a prototype
    // Filled by the checker:
    FuncDecl* definition = nullptr; // the body-carrying declaration this one names
    std::string glslName;
    std::vector<FuncDecl*> calls;   // user functions called
    std::vector<std::pair<SourcePos, std::string>> fragmentOnly;  // uses only a fragment stage allows
    std::vector<VarDecl*> globalsUsed;
    bool reachable = false;
};

// Top-level declarations in source order.
struct TopLevel {
    StructDecl* structDecl = nullptr;
    VarDecl* global = nullptr;
    FuncDecl* function = nullptr;
};

struct Program {
    std::vector<std::unique_ptr<StructDecl>> structs;
    std::vector<std::unique_ptr<VarDecl>> globals;
    std::vector<std::unique_ptr<FuncDecl>> functions;
    std::vector<TopLevel> order;
    std::vector<std::unique_ptr<FuncDecl>> initScopes;  // owned by the checker's records
};

}  // namespace Kestrane::CgCompiler
