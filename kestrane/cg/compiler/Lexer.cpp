// Lexer for the Cg subset.
#include "kestrane/cg/compiler/Lexer.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace Kestrane::CgCompiler {

namespace {

struct Punct {
    std::string_view text;
    Tok kind;
};

// Longest first, so that "<<=" wins over "<<" and "<".
constexpr Punct puncts[] = {
    {"<<=", Tok::ShlAssign}, {">>=", Tok::ShrAssign},
    {"++", Tok::PlusPlus}, {"--", Tok::MinusMinus}, {"+=", Tok::PlusAssign},
    {"-=", Tok::MinusAssign}, {"*=", Tok::StarAssign}, {"/=", Tok::SlashAssign},
    {"%=", Tok::PercentAssign}, {"&=", Tok::AmpAssign}, {"|=", Tok::PipeAssign},
    {"^=", Tok::CaretAssign}, {"==", Tok::Eq}, {"!=", Tok::NotEq}, {"<=", Tok::LessEq},
    {">=", Tok::GreaterEq}, {"&&", Tok::AndAnd}, {"||", Tok::OrOr}, {"<<", Tok::Shl},
    {">>", Tok::Shr}, {"##", Tok::HashHash},
    {"(", Tok::LParen}, {")", Tok::RParen}, {"[", Tok::LBracket}, {"]", Tok::RBracket},
    {"{", Tok::LBrace}, {"}", Tok::RBrace}, {";", Tok::Semicolon}, {",", Tok::Comma},
    {".", Tok::Dot}, {":", Tok::Colon}, {"?", Tok::Question}, {"+", Tok::Plus},
    {"-", Tok::Minus}, {"*", Tok::Star}, {"/", Tok::Slash}, {"%", Tok::Percent},
    {"=", Tok::Assign}, {"<", Tok::Less}, {">", Tok::Greater}, {"!", Tok::Not},
    {"~", Tok::Tilde}, {"&", Tok::Amp}, {"|", Tok::Pipe}, {"^", Tok::Caret},
    {"#", Tok::Hash},
};

bool isIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

class Lexer {
public:
    Lexer(std::string_view source, Diagnostics& diagnostics, int file)
        : src_(source), diagnostics_(diagnostics), file_(file) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        bool startOfLine = true;
        for (;;) {
            if (skipSpace()) startOfLine = true;
            Token token;
            token.pos = {line_, column(), file_};
            token.startOfLine = startOfLine;
            startOfLine = false;
            if (at_ >= src_.size()) {
                token.kind = Tok::End;
                tokens.push_back(std::move(token));
                return tokens;
            }
            char c = src_[at_];
            if (isIdentStart(c)) {
                size_t start = at_;
                while (at_ < src_.size() && (isIdentStart(src_[at_]) || isDigit(src_[at_]))) ++at_;
                token.kind = Tok::Identifier;
                token.text = std::string(src_.substr(start, at_ - start));
            } else if (isDigit(c) || (c == '.' && at_ + 1 < src_.size() && isDigit(src_[at_ + 1]))) {
                number(token);
            } else if (c == '"') {
                // Strings appear only in directives (#include "file", #error text).
                size_t start = ++at_;
                while (at_ < src_.size() && src_[at_] != '"' && src_[at_] != '\n') ++at_;
                token.kind = Tok::String;
                token.text = std::string(src_.substr(start, at_ - start));
                if (at_ < src_.size() && src_[at_] == '"') ++at_;
                else diagnostics_.error(token.pos, "unterminated string");
            } else if (!punct(token)) {
                diagnostics_.error(token.pos, "unexpected character " + describeChar(c));
                ++at_;
                continue;
            }
            tokens.push_back(std::move(token));
        }
    }

private:
    int column() const { return static_cast<int>(at_ - lineStart_) + 1; }

    void newline() {
        ++line_;
        lineStart_ = at_;
    }

    // Skips blanks, comments and line continuations; true when a line ended.
    bool skipSpace() {
        bool sawNewline = false;
        while (at_ < src_.size()) {
            char c = src_[at_];
            if (c == '\n') {
                ++at_;
                newline();
                sawNewline = true;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++at_;
            } else if (c == '\\' && nextIsNewline(at_ + 1)) {
                ++at_;
                if (src_[at_] == '\r') ++at_;
                ++at_;
                newline();
            } else if (c == '/' && at_ + 1 < src_.size() && src_[at_ + 1] == '/') {
                while (at_ < src_.size() && src_[at_] != '\n') ++at_;
            } else if (c == '/' && at_ + 1 < src_.size() && src_[at_ + 1] == '*') {
                SourcePos start{line_, column(), file_};
                at_ += 2;
                bool closed = false;
                while (at_ < src_.size()) {
                    if (src_[at_] == '*' && at_ + 1 < src_.size() && src_[at_ + 1] == '/') {
                        at_ += 2;
                        closed = true;
                        break;
                    }
                    if (src_[at_] == '\n') {
                        ++at_;
                        newline();
                        sawNewline = true;
                    } else {
                        ++at_;
                    }
                }
                if (!closed) diagnostics_.error(start, "unterminated comment");
            } else {
                break;
            }
        }
        return sawNewline;
    }

    bool nextIsNewline(size_t i) const {
        if (i < src_.size() && src_[i] == '\n') return true;
        return i + 1 < src_.size() && src_[i] == '\r' && src_[i + 1] == '\n';
    }

    void number(Token& token) {
        size_t start = at_;
        bool isFloat = false;
        bool hex = false;
        if (src_[at_] == '0' && at_ + 1 < src_.size() && (src_[at_ + 1] == 'x' || src_[at_ + 1] == 'X')) {
            hex = true;
            at_ += 2;
            while (at_ < src_.size() && isHexDigit(src_[at_])) ++at_;
        } else {
            while (at_ < src_.size() && isDigit(src_[at_])) ++at_;
            if (at_ < src_.size() && src_[at_] == '.') {
                isFloat = true;
                ++at_;
                while (at_ < src_.size() && isDigit(src_[at_])) ++at_;
            }
            if (at_ < src_.size() && (src_[at_] == 'e' || src_[at_] == 'E')) {
                size_t e = at_ + 1;
                if (e < src_.size() && (src_[e] == '+' || src_[e] == '-')) ++e;
                if (e < src_.size() && isDigit(src_[e])) {
                    isFloat = true;
                    at_ = e;
                    while (at_ < src_.size() && isDigit(src_[at_])) ++at_;
                }
            }
        }
        std::string digits(src_.substr(start, at_ - start));
        // Suffixes: f (float), h (half), x (fixed) make a float; u/l are accepted on integers.
        if (at_ < src_.size() && !hex && std::string_view("fFhHxX").find(src_[at_]) != std::string_view::npos) {
            isFloat = true;
            ++at_;
        } else if (at_ < src_.size() && !isFloat && std::string_view("uUlL").find(src_[at_]) != std::string_view::npos) {
            ++at_;
        }
        if (at_ < src_.size() && (isIdentStart(src_[at_]) || isDigit(src_[at_]))) {
            diagnostics_.error(token.pos, "malformed number");
            while (at_ < src_.size() && (isIdentStart(src_[at_]) || isDigit(src_[at_]))) ++at_;
        }
        token.text = digits;
        if (isFloat) {
            token.kind = Tok::FloatLiteral;
            errno = 0;
            double value = std::strtod(digits.c_str(), nullptr);
            if (!std::isfinite(value) || value > 3.4028234663852886e38) {
                diagnostics_.error(token.pos, "floating-point constant out of range");
                value = 0.0;
            }
            token.floatValue = value;
        } else {
            token.kind = Tok::IntLiteral;
            uint64_t value = 0;
            bool overflow = false;
            size_t i = hex ? 2 : 0;
            if (hex && digits.size() == 2) diagnostics_.error(token.pos, "malformed number");
            for (; i < digits.size(); ++i) {
                char d = digits[i];
                uint64_t v = isDigit(d) ? uint64_t(d - '0') : uint64_t((d | 0x20) - 'a' + 10);
                value = value * (hex ? 16 : 10) + v;
                if (value > 0xffffffffull) overflow = true;
                if (overflow) break;
            }
            if (overflow || (!hex && value > 0x7fffffffull)) {
                diagnostics_.error(token.pos, "integer constant too large");
                value = 0;
            }
            // Hexadecimal constants keep their 32-bit pattern, as in C.
            token.intValue = static_cast<int32_t>(static_cast<uint32_t>(value));
        }
    }

    bool punct(Token& token) {
        for (const Punct& p : puncts) {
            if (src_.substr(at_, p.text.size()) == p.text) {
                token.kind = p.kind;
                token.text = std::string(p.text);
                at_ += p.text.size();
                return true;
            }
        }
        return false;
    }

    static std::string describeChar(char c) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u >= 0x21 && u < 0x7f) return std::string("'") + c + "'";
        static const char hexDigits[] = "0123456789abcdef";
        return std::string("0x") + hexDigits[u >> 4] + hexDigits[u & 15];
    }

    std::string_view src_;
    Diagnostics& diagnostics_;
    size_t at_ = 0;
    size_t lineStart_ = 0;
    int line_ = 1;
    int file_ = 0;
};

}  // namespace

std::string_view spelling(Tok kind) {
    for (const Punct& p : puncts)
        if (p.kind == kind) return p.text;
    switch (kind) {
    case Tok::End: return "end of input";
    case Tok::Identifier: return "identifier";
    case Tok::IntLiteral: return "integer constant";
    case Tok::FloatLiteral: return "floating-point constant";
    case Tok::String: return "string";
    default: return "invalid token";
    }
}

std::string describe(const Token& token) {
    switch (token.kind) {
    case Tok::End: return "end of input";
    case Tok::Identifier:
    case Tok::IntLiteral:
    case Tok::FloatLiteral: return "'" + token.text + "'";
    case Tok::String: return "string \"" + token.text + "\"";
    default: return "'" + std::string(spelling(token.kind)) + "'";
    }
}

std::vector<Token> lex(std::string_view source, Diagnostics& diagnostics, int file) {
    return Lexer(source, diagnostics, file).run();
}

}  // namespace Kestrane::CgCompiler
