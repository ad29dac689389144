// Shader compiler: translates the Cg language subset of the system's shaders
// into GLSL 1.20 ("#version 120") for an OpenGL compatibility context, or,
// with Options::target = Target::Es300, into GLSL ES 3.00 for WebGL 2. Pure
// C++, no GL: the runtime layer hands the GLSL to the driver.
//
// Use:
//   Result r = compile(source, Stage::Vertex, "vsMain", "vp_");
//     r.ok       false: r.errors holds "line:column: message" diagnostics and
//                r.listing a printable report (messages, then the numbered source).
//     r.glsl     the GLSL text; r.uniforms every parameter the program declares
//                (global uniforms of the source and the entry's uniform parameters;
//                one per member of a uniform struct, per element of an array of
//                structs: "lights[1].color") with the GLSL name to look up; r.attributes the generic vertex
//                attributes to bind with glBindAttribLocation before linking.
//     r.cgLineForGlslLine / r.mapDriverLog  turn a line of the GL driver's own
//                compile log back into the Cg source line.
//   Result r = compile(source, stage, entry, prefix, Options{path, includeDirs});
//                same, for a program read from path: #include "file" is looked up
//                beside the including file, then beside the program, then in
//                includeDirs; diagnostics name their file (Diagnostic::file).
// compile() keeps nothing between calls and reads nothing but the included
// files (through Options::readFile), never throws on bad input (a malformed
// source is an error in the Result), and bounds its work (nesting depth,
// include depth, macro expansion) so garbage input cannot crash or hang it.
//
// Matrices: the GLSL uniform of a Cg floatRxC is the mathematical matrix when
// it is uploaded row-major with transpose = GL_TRUE (glUniformMatrix4fv(loc, 1,
// GL_TRUE, rowMajor16) for a float4x4), so mul(M, v) in Cg is M * v in GL terms.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Kestrane::CgCompiler {

enum class Stage { Vertex, Fragment };

enum class BaseType { Float, Int, Bool, Sampler1D, Sampler2D, Sampler3D, SamplerCube, SamplerRect };

struct Uniform {
    std::string cgName;    // as declared in the source: "StateComplete", "tex0"; a member
                           // of a uniform struct: "IN.video_size"
    std::string glslName;  // the name in the GLSL text: uniformPrefix + cgName
                           // ("fp_IN.video_size"; renamed members: "fp_PASS.cg_texture")
    BaseType base = BaseType::Float;
    int rows = 0;          // matrix rows; 0 when not a matrix
    int columns = 1;       // matrix columns, or vector size (1: scalar)
    int arraySize = 0;     // element count; 0 when not an array
    bool referenced = false;  // used by the entry; an unreferenced one is left
                              // out of the GLSL (its look-up gives -1)
    // Samplers whose lookups need the texture's size (texel offsets, fetches,
    // size queries): the GLSL name of a hidden "uniform vec4" to set to the
    // bound texture's level-0 (width, height, depth, 0).
    // "" when the program needs none.
    std::string sizeGlslName;
    // Es300 only: a uniform's default value, which GLSL ES cannot declare, for
    // the runtime to set: the components in Cg's order (a matrix row by row).
    std::vector<float> defaultValue;
    bool isSampler() const { return base >= BaseType::Sampler1D; }
    bool isMatrix() const { return rows > 0; }
    std::string cgTypeName() const;  // "float4x4", "float", "sampler2D", "int3"
};

struct AttributeBinding {
    std::string glslName;  // declared "attribute" in the vertex GLSL
    int location = 0;      // generic attribute index (ATTRn: n; TANGENT 14, BINORMAL 15)
};

struct Diagnostic {
    int line = 0;          // 1-based line of the Cg source (0: no place)
    int column = 0;        // 1-based column
    std::string message;
    std::string sourceLine;  // the text of that source line, without its newline
    std::string file;      // the file the line is in ("" for a program given as text)
    // "[file:]line:column: message\n    source line\n    ^" (no trailing newline).
    std::string format() const;
};

// The GLSL a program is written in: 1.20 for the desktop's compatibility
// context, ES 3.00 for WebGL 2 (see EsDialect.h for what differs).
enum class Target { Glsl120, Es300 };

struct Options {
    Target target = Target::Glsl120;
    std::string path;                      // the program's file ("" when it has none)
    std::vector<std::string> includeDirs;  // searched after the including file's and the program's directory
    // Reads an included file; nullopt when it cannot be read. Unset: the file system.
    std::function<std::optional<std::string>(const std::string& path)> readFile;
};

struct Result {
    bool ok = false;
    std::string glsl;
    std::vector<Uniform> uniforms;
    std::vector<AttributeBinding> attributes;
    std::vector<Diagnostic> errors;
    std::string listing;   // stage and entry, every diagnostic, then the source
                           // with line numbers; filled on success too
    std::vector<int> glslLineToCgLine;  // [glsl line - 1] -> Cg line, 0 if none
    std::vector<int> glslLineToCgFile;  // [glsl line - 1] -> index in files
    std::vector<std::string> files;     // [0] the program's path, then each included file

    // The Cg source line a 1-based GLSL line came from; 0 when it has none.
    int cgLineForGlslLine(int glslLine) const;
    // The file of that line (files[0] for the program itself).
    const std::string& cgFileForGlslLine(int glslLine) const;
    // Rewrites the GLSL line numbers of a driver compile log ("0:12(7): ..."
    // from Mesa, "0(12) : ..." from others) into Cg lines ("line 4: ...", or
    // "file.cgh line 4: ..." for a line of an included file).
    std::string mapDriverLog(std::string_view driverLog) const;
    const Uniform* findUniform(std::string_view cgName) const;  // null if undeclared
};

// uniformPrefix starts every uniform's GLSL name ("vp_", "fp_"; may be empty);
// it must be an identifier start not beginning with "gl_" or "kc_".
Result compile(std::string_view source, Stage stage, std::string_view entry,
               std::string_view uniformPrefix, const Options& options = {});

}  // namespace Kestrane::CgCompiler
