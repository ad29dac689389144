// The GLSL ES 3.00 back end's last step: the emitter writes one program text
// for both targets, in GLSL 1.20 terms, and this rewrites each of its lines
// into GLSL ES 3.00 for WebGL 2 (the browser build), by identifier:
//
//   built-in lookups     texture2D / texture2DLod / shadow2D ... -> texture /
//                        textureLod / vec4(texture(...)) ...
//   vertex inputs        gl_Vertex, gl_Normal, gl_Color, gl_MultiTexCoordN ...
//                        -> "in" attributes kc_attrN at the conventional generic
//                        locations (position 0, normal 2, colours 3 and 4, fog
//                        5, texture coordinates 8 + N)
//   varyings             gl_TexCoord[N], gl_FrontColor / gl_Color, ... ->
//                        "out" / "in" kc_texcoordN, kc_color0, kc_color1, kc_fog
//   fragment outputs     gl_FragColor, gl_FragData[N] -> layout(location = N) out
//                        vec4 kc_fragN
//   declarations         attribute -> in; varying -> out (vertex) / in (fragment)
//
// What GLSL ES has no counterpart for (1D and rectangle samplers, back
// colours) is reported by name. Use:
//   EsDialect es(stage);
//   for each line: text = es.rewrite(text);   // "#version 120" -> version and precision lines
//   if (!es.unsupported().empty()) error;
//   es.declarations()                          // the inputs and outputs the lines use
//   es.attributes()                            // generic location -> attribute name
#pragma once

#include "kestrane/cg/compiler/CgCompiler.h"

#include <map>
#include <string>
#include <vector>

namespace Kestrane::CgCompiler {

class EsDialect {
public:
    explicit EsDialect(Stage stage) : stage_(stage) {}

    // The line (or lines) in GLSL ES 3.00; "" drops the line.
    std::string rewrite(const std::string& line);
    // The first GLSL 1.20 word met that GLSL ES 3.00 lacks, with why ("" when none).
    const std::string& unsupported() const { return unsupported_; }
    // "layout(location = 0) in vec4 kc_attr0;", "out vec4 kc_texcoord0;", ...
    std::vector<std::string> declarations() const;
    const std::map<int, std::string>& attributes() const { return attributes_; }

private:
    std::string builtin(const std::string& name, const std::string& line, size_t& at);
    std::string attribute(int location, const char* swizzle = "");
    std::string varying(const std::string& name, const char* type = "vec4");
    void refuse(const std::string& what);

    Stage stage_;
    std::map<int, std::string> attributes_;             // location -> name
    std::map<std::string, std::string> varyings_;       // name -> type
    std::map<int, std::string> fragmentOutputs_;        // location -> name
    std::vector<int> closeAt_;                          // parenthesis depths that close a vec4( wrapper
    int depth_ = 0;
    std::string unsupported_;
};

}  // namespace Kestrane::CgCompiler
