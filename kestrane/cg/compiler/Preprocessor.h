// The preprocessor lines shaders use: object- and function-like #define,
// #undef, #if/#ifdef/#ifndef/#elif/#else/#endif with defined() and integer
// expressions, #pragma (ignored), #error. Works on tokens from the Lexer;
// expanded tokens keep the position of the macro use, so messages point at
// the line the reader wrote. Expansion depth and output size are bounded.
#pragma once

#include "kestrane/cg/compiler/Token.h"

#include <vector>

namespace Kestrane::CgCompiler {

// The token stream after directives and macro expansion, ending with Tok::End.
std::vector<Token> preprocess(std::vector<Token> tokens, Diagnostics& diagnostics);

}  // namespace Kestrane::CgCompiler
