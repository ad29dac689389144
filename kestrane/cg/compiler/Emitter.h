// Writes a checked program as GLSL 1.20 for one stage: structs, the uniforms
// and static globals the entry reaches, the helper functions for intrinsics
// GLSL lacks, every reachable function, and a main() that reads the entry's
// inputs from the built-in attributes / varyings of their semantics, calls the
// entry and writes its outputs. Records the Cg line of every GLSL line.
#pragma once

#include "kestrane/cg/compiler/Ast.h"
#include "kestrane/cg/compiler/CgCompiler.h"
#include "kestrane/cg/compiler/Intrinsics.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace Kestrane::CgCompiler {

class Emitter {
public:
    Emitter(Program& program, FuncDecl& entry, Stage stage, std::string uniformPrefix, Diagnostics& diagnostics,
            Target target = Target::Glsl120);
    // Fills result.glsl, uniforms, attributes and the line map; false after an error.
    bool run(Result& result);

private:
    struct Line {
        std::string text;
        SourcePos cg;  // where the line comes from (line 0: generated)
        Line(std::string t, SourcePos p) : text(std::move(t)), cg(p) {}
    };
    using Lines = std::vector<Line>;

    // names (Emitter.cpp)
    void assignNames();
    std::string ident(const std::string& cgName) const;
    std::string varName(const VarDecl& var) const;
    std::string uniformCopy(const VarDecl& var) const { return "kc_copy_" + varName(var); }
    // "type name[size]"; a shadow sampler is declared sampler1DShadow / sampler2DShadow.
    std::string declaration(const Type& type, const std::string& name, bool shadow = false) const;

    // top level (Emitter.cpp)
    void emitUniforms(Result& result);
    void emitStatics();
    std::string matrixDefault(const Expr& init, const Type& declared);
    void finishEs(Result& result);
    void emitFunction(const FuncDecl& func, bool prototype);
    std::string signature(const FuncDecl& func) const;

    // statements (Emitter.cpp)
    void stmt(const Stmt& s, int indent, Lines& out);
    void body(const Stmt& s, int indent, Lines& out);
    std::string declarators(const Stmt& s);

    // expressions (EmitExpr.cpp)
    std::string expr(const Expr& e, bool top = false);
    std::string convert(const Expr& inner, const Type& to);
    std::string literal(const Expr& e, Base base);
    std::string call(const Expr& e);
    std::string splat(const Expr& value, const Type& to);
    std::string intrinsic(const Expr& e);
    std::string mul(const Expr& e);
    std::string texture(const Expr& e, const IntrinsicInfo& info);
    std::string sizedTexture(const Expr& e, const IntrinsicInfo& info, bool shadow);
    std::string textureSize(const Expr& sampler);
    std::string splitMember(const VarDecl& param, const VarDecl& member) const;
    bool uniformMatrix(const Expr& e, std::string& natural);
    std::string args(const Expr& e, size_t from = 0);
    void useHelper(const std::string& name) { helpers_.insert(name); }

    // main() (EntryGlue.cpp)
    void emitMain(Result& result);
    void bindInputs(const std::string& path, const Type& type, const std::string& semantic, const VarDecl& where,
                    Lines& out);
    void bindOutputs(const std::string& path, const Type& type, const std::string& semantic, const VarDecl* where,
                     SourcePos pos, Lines& out);
    std::string inputSource(const std::string& semantic, SourcePos pos, int& components);
    std::string outputTarget(const std::string& semantic, SourcePos pos, int& components);
    int attribute(int location);
    std::string namedVarying(int index);
    void assignSlots(const std::vector<std::pair<std::string, const VarDecl*>>& roots);
    std::string memberSemantic(const std::string& path, const VarDecl& member) const;

    void error(SourcePos pos, std::string message) { diagnostics_.error(pos, std::move(message)); }

    Program& program_;
    FuncDecl& entry_;
    Stage stage_;
    Target target_;
    std::string prefix_;
    Diagnostics& diagnostics_;
    std::map<const FuncDecl*, std::string> functionNames_;
    std::set<std::string> helpers_;
    std::map<int, std::string> attributes_;   // generic location -> GLSL name
    std::set<std::string> outputsWritten_;
    std::map<std::string, bool> inputsRead_;   // GLSL source -> read by a member without a semantic
    // "in:" or "out:" + GLSL path of a varying member -> the TEXCOORDn given to it
    std::map<std::string, std::string> slots_;
    std::set<int> namedVaryings_;             // TEXCOORD8.. used: varying vec4 kc_texcoordN
    std::unique_ptr<VarDecl> returnVar_;      // the entry's return value as a slot root
    static constexpr int varyingSlots = 16;   // TEXCOORD0-15
    bool fragmentData_ = false;               // COLOR1.. written: use gl_FragData
    bool textureLod_ = false;                 // texture*Lod (an extension for fragment programs; the
                                              // validators want it named in vertex programs too)
    bool textureGrad_ = false;                // texture*GradARB (both stages)
    mutable bool textureRect_ = false;        // a sampler2DRect is declared
    // Cg name of a sampler parameter ("tex", "IN.image") -> the hidden uniform
    // that holds its texture's size, for offsets, fetches and size queries.
    std::map<std::string, std::string> sizeUniforms_;
    std::map<std::string, std::string> generatedHelpers_;  // name -> GLSL function
    Lines uniformCopies_;                     // main()'s copies of written uniforms
    Lines header_, declarations_, functions_, main_;
};

}  // namespace Kestrane::CgCompiler
