// Tokens of the Cg subset, produced by the Lexer and rewritten by the
// Preprocessor before the Parser reads them.
#pragma once

#include "kestrane/cg/compiler/Diagnostics.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace Kestrane::CgCompiler {

enum class Tok : uint8_t {
    End, Identifier, IntLiteral, FloatLiteral, String, Invalid,
    // punctuators
    LParen, RParen, LBracket, RBracket, LBrace, RBrace, Semicolon, Comma, Dot, Colon, Question,
    Plus, Minus, Star, Slash, Percent, PlusPlus, MinusMinus,
    Assign, PlusAssign, MinusAssign, StarAssign, SlashAssign, PercentAssign,
    AmpAssign, PipeAssign, CaretAssign, ShlAssign, ShrAssign,
    Eq, NotEq, Less, Greater, LessEq, GreaterEq,
    AndAnd, OrOr, Not, Tilde, Amp, Pipe, Caret, Shl, Shr,
    Hash, HashHash,
};

struct Token {
    Tok kind = Tok::End;
    std::string text;    // identifier or literal spelling (suffix removed)
    SourcePos pos;
    bool startOfLine = false;  // first token on its source line
    int64_t intValue = 0;      // IntLiteral
    double floatValue = 0.0;   // FloatLiteral
};

// Spelling of a punctuator for messages ("'+='"), or a description of the token.
std::string describe(const Token& token);
std::string_view spelling(Tok kind);

// Binding strength of a binary operator token (1 = ||, 10 = * / %), 0 for
// anything else. Shared by the parser and the preprocessor's #if evaluator.
inline int binaryPrecedence(Tok k)
{
    switch (k) {
    case Tok::OrOr: return 1;
    case Tok::AndAnd: return 2;
    case Tok::Pipe: return 3;
    case Tok::Caret: return 4;
    case Tok::Amp: return 5;
    case Tok::Eq: case Tok::NotEq: return 6;
    case Tok::Less: case Tok::Greater: case Tok::LessEq: case Tok::GreaterEq: return 7;
    case Tok::Shl: case Tok::Shr: return 8;
    case Tok::Plus: case Tok::Minus: return 9;
    case Tok::Star: case Tok::Slash: case Tok::Percent: return 10;
    default: return 0;
    }
}

}  // namespace Kestrane::CgCompiler
