// The preprocessor lines shaders use: #include "file", object- and
// function-like #define with the '#' and '##' operators, #undef,
// #if/#ifdef/#ifndef/#elif/#else/#endif with defined() and integer
// expressions, #pragma once (other pragmas are ignored), #error. Works on tokens from the Lexer;
// expanded tokens keep the position of the macro use, so messages point at
// the line the reader wrote. Expansion depth, include depth, the size of the
// included text and the output size are bounded.
#pragma once

#include "kestrane/cg/compiler/Token.h"

#include <string>
#include <vector>

namespace Kestrane::CgCompiler {

// A source file of the translation: files[0] is the program, the others are
// appended as #include reads them (SourcePos::file indexes this list).
struct SourceFile {
    std::string path;
    std::string text;
    int depth = 0;  // include nesting: 0 for the program
};

// The token stream after directives and macro expansion, ending with Tok::End.
std::vector<Token> preprocess(std::vector<Token> tokens, Diagnostics& diagnostics, const Options& options,
                              std::vector<SourceFile>& files);

}  // namespace Kestrane::CgCompiler
