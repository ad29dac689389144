// Recursive-descent parser of the Cg subset: structs, global variables
// (uniform, static, const), functions with in/out/inout/uniform parameters
// and semantics, statements and C expressions with casts, constructors,
// swizzles and initializer lists. Stops at the first syntax error. Nesting
// depth is bounded so that hostile input cannot exhaust the stack.
#pragma once

#include "kestrane/cg/compiler/Ast.h"

#include <vector>

namespace Kestrane::CgCompiler {

// Parses tokens (ending with Tok::End) into program; false after a syntax error.
bool parse(const std::vector<Token>& tokens, Program& program, Diagnostics& diagnostics);

}  // namespace Kestrane::CgCompiler
