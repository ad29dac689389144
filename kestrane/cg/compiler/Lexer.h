// Splits Cg source text into tokens with their line and column, dropping
// whitespace, comments and line continuations. Malformed input (unterminated
// comments, stray characters, literals out of range) is reported and skipped.
#pragma once

#include "kestrane/cg/compiler/Token.h"

#include <string_view>
#include <vector>

namespace Kestrane::CgCompiler {

// The tokens of source, ending with one Tok::End; positions carry file.
std::vector<Token> lex(std::string_view source, Diagnostics& diagnostics, int file = 0);

}  // namespace Kestrane::CgCompiler
