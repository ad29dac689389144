// Preprocessor of the Cg subset.
#include "kestrane/cg/compiler/Preprocessor.h"

#include "kestrane/cg/compiler/Lexer.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace Kestrane::CgCompiler {

namespace {

constexpr int maxExpansionDepth = 64;
constexpr size_t maxOutputTokens = 1u << 18;
constexpr size_t maxConditionalDepth = 256;
constexpr int maxIncludeDepth = maxExpansionDepth;
constexpr size_t maxIncludedBytes = 4u << 20;
constexpr size_t maxIncludes = 1024;

// Reads an included file from the file system: regular files only.
std::optional<std::string> readFromDisk(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
    if (std::filesystem::file_size(path, error) > maxIncludedBytes || error) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Spelling of a token as the source would write it (for '#' and '##').
std::string spellingOf(const Token& t) {
    switch (t.kind) {
    case Tok::Identifier: case Tok::IntLiteral: case Tok::FloatLiteral: return t.text;
    case Tok::String: return "\"" + t.text + "\"";
    default: return std::string(spelling(t.kind));
    }
}

struct Macro {
    bool functionLike = false;
    std::vector<std::string> params;
    std::vector<Token> body;
};

using Tokens = std::vector<Token>;

class Preprocessor {
public:
    Preprocessor(Tokens tokens, Diagnostics& diagnostics, const Options& options, std::vector<SourceFile>& files)
        : main_(std::move(tokens)), in_(&main_), diagnostics_(diagnostics), options_(options), files_(files) {}

    Tokens run() {
        process();
        if (!conditionals_.empty())
            diagnostics_.error(conditionals_.back().pos, "#if without a matching #endif");
        Token end = main_.back();
        end.kind = Tok::End;
        out_.push_back(end);
        return std::move(out_);
    }

private:
    // Directives and text of the current token list (the program or an included file).
    void process() {
        const Tokens& in_ = *this->in_;
        size_t i = 0;
        while (in_[i].kind != Tok::End && !diagnostics_.full()) {
            size_t end = lineEnd(i);
            if (in_[i].kind == Tok::Hash && in_[i].startOfLine) {
                directive(i + 1, end);
                i = end;
                continue;
            }
            // A run of ordinary lines up to the next directive: macro arguments may span lines.
            size_t runEnd = i;
            while (in_[runEnd].kind != Tok::End && !(in_[runEnd].kind == Tok::Hash && in_[runEnd].startOfLine))
                runEnd = lineEnd(runEnd);
            if (active()) {
                Tokens run(in_.begin() + static_cast<std::ptrdiff_t>(i), in_.begin() + static_cast<std::ptrdiff_t>(runEnd));
                std::set<std::string> disabled;
                expand(run, disabled, 0, out_);
            }
            i = runEnd;
        }
    }

    struct Conditional {
        bool parentActive;
        bool taken;      // some branch of this #if has been taken
        bool active;     // the current branch is active
        bool sawElse;
        SourcePos pos;
    };

    bool active() const { return conditionals_.empty() || conditionals_.back().active; }

    size_t lineEnd(size_t i) const {
        const Tokens& in_ = *this->in_;
        ++i;
        while (in_[i].kind != Tok::End && !in_[i].startOfLine) ++i;
        return i;
    }

    void directive(size_t i, size_t end) {
        const Tokens& in_ = *this->in_;
        if (i >= end) return;  // "#" alone
        const Token& name = in_[i];
        const std::string& d = name.text;
        if (name.kind != Tok::Identifier) {
            if (active()) diagnostics_.error(name.pos, "invalid preprocessor directive");
            return;
        }
        if (d == "if" || d == "ifdef" || d == "ifndef") {
            if (conditionals_.size() >= maxConditionalDepth) {
                diagnostics_.error(name.pos, "#if nested too deeply");
                return;
            }
            bool parent = active();
            bool value = false;
            if (parent) value = d == "if" ? evaluate(i + 1, end, name.pos) : definedTest(i + 1, end, name.pos) == (d == "ifdef");
            conditionals_.push_back({parent, value, parent && value, false, name.pos});
        } else if (d == "elif" || d == "else") {
            if (conditionals_.empty() || conditionals_.back().sawElse) {
                diagnostics_.error(name.pos, "#" + d + " without a matching #if");
                return;
            }
            Conditional& c = conditionals_.back();
            if (d == "else") {
                c.sawElse = true;
                c.active = c.parentActive && !c.taken;
                c.taken = true;
            } else {
                bool value = c.parentActive && !c.taken && evaluate(i + 1, end, name.pos);
                c.active = value;
                c.taken = c.taken || value;
            }
        } else if (d == "endif") {
            if (conditionals_.empty()) diagnostics_.error(name.pos, "#endif without a matching #if");
            else conditionals_.pop_back();
        } else if (!active()) {
            return;
        } else if (d == "define") {
            define(i + 1, end, name.pos);
        } else if (d == "undef") {
            if (i + 1 < end && in_[i + 1].kind == Tok::Identifier) macros_.erase(in_[i + 1].text);
            else diagnostics_.error(name.pos, "#undef needs a macro name");
        } else if (d == "pragma" || d == "line") {
            // Compiler hints and line renumbering do not change the translation;
            // "#pragma once" keeps a file from being included again.
            if (d == "pragma" && i + 1 < end && in_[i + 1].kind == Tok::Identifier && in_[i + 1].text == "once")
                once_.insert(files_[static_cast<size_t>(name.pos.file)].path);
        } else if (d == "error") {
            std::string text;
            for (size_t k = i + 1; k < end; ++k) text += (k > i + 1 ? " " : "") + in_[k].text;
            diagnostics_.error(name.pos, "#error " + text);
        } else if (d == "include") {
            include(i + 1, end, name.pos);
        } else {
            diagnostics_.error(name.pos, "unknown preprocessor directive '#" + d + "'");
        }
    }

    // Where "#include \"name\"" in the file of pos may find name: beside that
    // file, beside the program, then in each include directory.
    // "#include <name>" looks in the include directories, then beside the program.
    std::vector<std::string> candidates(const std::string& name, SourcePos pos, bool angled) const {
        namespace fs = std::filesystem;
        if (fs::path(name).is_absolute()) return {name};
        std::vector<std::string> out;
        auto add = [&](const fs::path& dir) {
            std::string path = (dir / name).lexically_normal().string();
            if (std::find(out.begin(), out.end(), path) == out.end()) out.push_back(path);
        };
        if (!angled) add(fs::path(files_[static_cast<size_t>(pos.file)].path).parent_path());
        if (!angled) add(fs::path(files_[0].path).parent_path());
        for (const std::string& dir : options_.includeDirs) add(fs::path(dir));
        if (angled) add(fs::path(files_[0].path).parent_path());
        return out;
    }

    // The text between '<' and '>' of "#include <dir/name.cgh>", rebuilt from its tokens.
    static bool angledName(const Tokens& line, std::string& name) {
        if (line.size() < 3 || line.front().kind != Tok::Less || line.back().kind != Tok::Greater) return false;
        name.clear();
        for (size_t k = 1; k + 1 < line.size(); ++k) {
            const Token& prev = line[k - 1];
            if (k > 1 && (line[k].pos.line != prev.pos.line ||
                          line[k].pos.column != prev.pos.column + static_cast<int>(spellingOf(prev).size())))
                name += ' ';
            name += spellingOf(line[k]);
        }
        return true;
    }

    void include(size_t i, size_t end, SourcePos pos) {
        const Tokens& in_ = *this->in_;
        // The name is a string, or macros that expand to one ("#include HEADER(blur)").
        Tokens line(in_.begin() + static_cast<std::ptrdiff_t>(i), in_.begin() + static_cast<std::ptrdiff_t>(end));
        std::string angled;
        if (angledName(line, angled)) {
            Token named = line[0];
            named.kind = Tok::String;
            named.text = angled;
            line = {named};
        }
        if (line.size() != 1 || line[0].kind != Tok::String) {
            Tokens expanded;
            std::set<std::string> disabled;
            expand(line, disabled, 0, expanded);
            if (overBudget_) return;
            line = expanded;
        }
        if (line.size() != 1 || line[0].kind != Tok::String || line[0].text.empty()) {
            diagnostics_.error(pos, "#include needs a file name: \"file\" or <file>");
            return;
        }
        const std::string name = line[0].text;
        const SourceFile& from = files_[static_cast<size_t>(pos.file)];
        if (from.depth >= maxIncludeDepth) {
            diagnostics_.error(pos, "#include nested too deeply (more than " + std::to_string(maxIncludeDepth) + " levels)");
            return;
        }
        if (files_.size() > maxIncludes) {
            diagnostics_.error(pos, "too many #include lines (more than " + std::to_string(maxIncludes) + ")");
            return;
        }
        std::optional<std::string> text;
        std::string path;
        for (const std::string& candidate : candidates(name, pos, !angled.empty())) {
            text = options_.readFile ? options_.readFile(candidate) : readFromDisk(candidate);
            if (text) {
                path = candidate;
                break;
            }
        }
        if (!text) {
            diagnostics_.error(line[0].pos, "cannot open include file \"" + name + "\"");
            return;
        }
        if (once_.count(path)) return;
        includedBytes_ += text->size();
        if (includedBytes_ > maxIncludedBytes) {
            diagnostics_.error(pos, "included sources are too large (more than " + std::to_string(maxIncludedBytes) + " bytes)");
            return;
        }
        int index = static_cast<int>(files_.size());
        files_.push_back(SourceFile{path, std::move(*text), from.depth + 1});
        Tokens tokens = lex(files_.back().text, diagnostics_, index);
        if (diagnostics_.hasErrors()) return;
        // The included tokens are processed in place, with the same macros and conditionals.
        size_t openConditionals = conditionals_.size();
        const Tokens* saved = in_ptr();
        this->in_ = &tokens;
        process();
        this->in_ = saved;
        if (conditionals_.size() > openConditionals) {
            diagnostics_.error(conditionals_.back().pos, "#if without a matching #endif in \"" + name + "\"");
            conditionals_.resize(openConditionals);
        }
    }

    const Tokens* in_ptr() const { return in_; }

    void define(size_t i, size_t end, SourcePos pos) {
        const Tokens& in_ = *this->in_;
        if (i >= end || in_[i].kind != Tok::Identifier) {
            diagnostics_.error(pos, "#define needs a macro name");
            return;
        }
        const Token& name = in_[i];
        if (name.text == "defined") {
            diagnostics_.error(name.pos, "'defined' cannot be a macro name");
            return;
        }
        Macro macro;
        ++i;
        // A '(' right after the name (no blank) makes a function-like macro.
        if (i < end && in_[i].kind == Tok::LParen && in_[i].pos.line == name.pos.line &&
            in_[i].pos.column == name.pos.column + static_cast<int>(name.text.size())) {
            macro.functionLike = true;
            ++i;
            bool expectParam = true;
            for (;; ++i) {
                if (i >= end) {
                    diagnostics_.error(name.pos, "unterminated parameter list of macro '" + name.text + "'");
                    return;
                }
                if (in_[i].kind == Tok::RParen && (!expectParam || macro.params.empty())) break;
                if (expectParam && in_[i].kind == Tok::Identifier) {
                    macro.params.push_back(in_[i].text);
                    expectParam = false;
                } else if (!expectParam && in_[i].kind == Tok::Comma) {
                    expectParam = true;
                } else {
                    diagnostics_.error(in_[i].pos, "invalid parameter list of macro '" + name.text + "'");
                    return;
                }
            }
            ++i;
        }
        for (size_t k = i; k < end; ++k) {
            const Token& b = in_[k];
            if (b.kind == Tok::HashHash && (k == i || k + 1 == end)) {
                diagnostics_.error(b.pos, "'##' cannot be at either end of a macro body");
                return;
            }
            if (b.kind == Tok::Hash && macro.functionLike &&
                (k + 1 == end || in_[k + 1].kind != Tok::Identifier || paramIndex(macro, in_[k + 1].text) < 0)) {
                diagnostics_.error(b.pos, "'#' must be followed by a parameter of macro '" + name.text + "'");
                return;
            }
            macro.body.push_back(b);
        }
        macros_[name.text] = std::move(macro);
    }

    static int paramIndex(const Macro& macro, const std::string& name) {
        for (size_t p = 0; p < macro.params.size(); ++p)
            if (macro.params[p] == name) return static_cast<int>(p);
        return -1;
    }

    bool definedTest(size_t i, size_t end, SourcePos pos) {
        const Tokens& in_ = *this->in_;
        if (i >= end || in_[i].kind != Tok::Identifier) {
            diagnostics_.error(pos, "#ifdef needs a macro name");
            return false;
        }
        return macros_.count(in_[i].text) != 0;
    }

    bool budgetLeft(SourcePos pos) {
        if (produced_ <= maxOutputTokens) return true;
        if (!overBudget_) diagnostics_.error(pos, "macro expansion too large");
        overBudget_ = true;
        return false;
    }

    void emit(Tokens& out, const Token& token) {
        ++produced_;
        out.push_back(token);
    }

    // Expands macros in tokens into out. A macro being expanded is disabled
    // inside its own expansion, as in C, so self-reference ends.
    void expand(const Tokens& tokens, std::set<std::string>& disabled, int depth, Tokens& out) {
        if (depth > maxExpansionDepth) {
            if (!overBudget_) diagnostics_.error(tokens.empty() ? SourcePos{} : tokens[0].pos, "macro expansion nested too deeply");
            overBudget_ = true;
            return;
        }
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (!budgetLeft(tokens[i].pos)) return;
            const Token& t = tokens[i];
            auto found = t.kind == Tok::Identifier && !disabled.count(t.text) ? macros_.find(t.text) : macros_.end();
            if (found == macros_.end()) {
                if (t.kind == Tok::Hash || t.kind == Tok::HashHash) {
                    diagnostics_.error(t.pos, "unexpected '" + std::string(spelling(t.kind)) + "' outside a macro definition");
                    return;
                }
                emit(out, t);
                continue;
            }
            const Macro& macro = found->second;
            Tokens replaced;
            if (macro.functionLike) {
                if (i + 1 >= tokens.size() || tokens[i + 1].kind != Tok::LParen) {
                    emit(out, t);  // the name alone is not a use of a function-like macro
                    continue;
                }
                std::vector<Tokens> args;
                size_t close = collectArgs(tokens, i + 1, args);
                if (close == 0) {
                    diagnostics_.error(t.pos, "unterminated use of macro '" + t.text + "'");
                    return;
                }
                if (args.size() == 1 && args[0].empty() && macro.params.empty()) args.clear();
                if (args.size() != macro.params.size()) {
                    diagnostics_.error(t.pos, "macro '" + t.text + "' takes " + std::to_string(macro.params.size()) +
                                                  " arguments, " + std::to_string(args.size()) + " given");
                    return;
                }
                std::vector<Tokens> expandedArgs(args.size());
                for (size_t a = 0; a < args.size(); ++a) expand(args[a], disabled, depth + 1, expandedArgs[a]);
                if (!substitute(macro, args, expandedArgs, replaced, t.pos)) return;
                i = close;
            } else if (!substitute(macro, {}, {}, replaced, t.pos)) {
                return;
            }
            for (Token& r : replaced) {
                r.pos = t.pos;
                r.startOfLine = false;
            }
            std::string name = t.text;
            disabled.insert(name);
            expand(replaced, disabled, depth + 1, out);
            disabled.erase(name);
            if (overBudget_) return;
        }
    }

    // The body of macro with its parameters replaced: "#p" by the spelling of
    // the argument, operands of "##" by the argument as written, other
    // parameters by the expanded argument; "##" joins its neighbours into one
    // token (an empty operand leaves the other one alone).
    bool substitute(const Macro& macro, const std::vector<Tokens>& args, const std::vector<Tokens>& expanded,
                    Tokens& out, SourcePos use) {
        const Tokens& body = macro.body;
        size_t chain = 0;    // tokens of the operand chain so far
        bool paste = false;  // the previous body token was "##"
        for (size_t k = 0; k < body.size(); ++k) {
            const Token& b = body[k];
            if (b.kind == Tok::HashHash) {
                paste = true;
                continue;
            }
            Tokens piece;
            int p = b.kind == Tok::Identifier ? paramIndex(macro, b.text) : -1;
            if (b.kind == Tok::Hash && macro.functionLike) {
                piece.push_back(stringize(args[static_cast<size_t>(paramIndex(macro, body[k + 1].text))], b));
                ++k;
            } else if (p >= 0) {
                bool operand = paste || (k + 1 < body.size() && body[k + 1].kind == Tok::HashHash);
                piece = operand ? args[static_cast<size_t>(p)] : expanded[static_cast<size_t>(p)];
            } else {
                piece.push_back(b);
            }
            if (paste && chain > 0 && !piece.empty()) {
                if (!pasteInto(out.back(), piece.front(), use)) return false;
                out.insert(out.end(), piece.begin() + 1, piece.end());
                chain += piece.size() - 1;
            } else {
                out.insert(out.end(), piece.begin(), piece.end());
                chain = paste ? chain + piece.size() : piece.size();
            }
            paste = false;
            produced_ += piece.size();
            if (!budgetLeft(use)) return false;
        }
        return true;
    }

    bool pasteInto(Token& left, const Token& right, SourcePos use) {
        Diagnostics scratch;
        Tokens lexed = lex(spellingOf(left) + spellingOf(right), scratch, use.file);
        if (scratch.hasErrors() || lexed.size() != 2) {
            diagnostics_.error(use, "'##' of " + describe(left) + " and " + describe(right) + " does not form one token");
            return false;
        }
        SourcePos pos = left.pos;
        left = lexed[0];
        left.pos = pos;
        left.startOfLine = false;
        return true;
    }

    // "#p": the argument's spelling as a string, one blank where the source had space.
    static Token stringize(const Tokens& arg, const Token& hash) {
        Token s = hash;
        s.kind = Tok::String;
        s.text.clear();
        for (size_t k = 0; k < arg.size(); ++k) {
            if (k > 0) {
                const Token& prev = arg[k - 1];
                if (arg[k].pos.line != prev.pos.line ||
                    arg[k].pos.column != prev.pos.column + static_cast<int>(spellingOf(prev).size()))
                    s.text += ' ';
            }
            s.text += spellingOf(arg[k]);
        }
        return s;
    }

    // Arguments of a macro use starting at the '(' at open; returns the index
    // of the closing ')', or 0 when there is none.
    static size_t collectArgs(const Tokens& tokens, size_t open, std::vector<Tokens>& args) {
        int nesting = 0;
        args.emplace_back();
        for (size_t k = open + 1; k < tokens.size(); ++k) {
            Tok kind = tokens[k].kind;
            if (kind == Tok::RParen && nesting == 0) return k;
            if (kind == Tok::Comma && nesting == 0) {
                args.emplace_back();
                continue;
            }
            if (kind == Tok::LParen) ++nesting;
            if (kind == Tok::RParen) --nesting;
            args.back().push_back(tokens[k]);
        }
        return 0;
    }

    // #if / #elif expression.
    bool evaluate(size_t i, size_t end, SourcePos pos) {
        const Tokens& in_ = *this->in_;
        Tokens line;
        for (; i < end; ++i) {
            const Token& t = in_[i];
            if (t.kind == Tok::Identifier && t.text == "defined") {
                bool paren = i + 1 < end && in_[i + 1].kind == Tok::LParen;
                size_t n = i + (paren ? 2 : 1);
                if (n >= end || in_[n].kind != Tok::Identifier || (paren && (n + 1 >= end || in_[n + 1].kind != Tok::RParen))) {
                    diagnostics_.error(t.pos, "'defined' needs a macro name");
                    return false;
                }
                Token value = t;
                value.kind = Tok::IntLiteral;
                value.intValue = macros_.count(in_[n].text) ? 1 : 0;
                value.text = std::to_string(value.intValue);
                line.push_back(value);
                i = n + (paren ? 1 : 0);
            } else {
                line.push_back(t);
            }
        }
        Tokens expanded;
        std::set<std::string> disabled;
        expand(line, disabled, 0, expanded);
        if (expanded.empty()) {
            diagnostics_.error(pos, "#if needs an expression");
            return false;
        }
        ConditionEvaluator evaluator{expanded, 0, false, diagnostics_};
        int64_t value = evaluator.ternary(0);
        if (!evaluator.failed && evaluator.at < expanded.size()) {
            diagnostics_.error(expanded[evaluator.at].pos, "unexpected " + describe(expanded[evaluator.at]) + " in #if");
            return false;
        }
        return !evaluator.failed && value != 0;
    }

    // Integer expression of #if, evaluated with wrapping arithmetic; names
    // left after expansion read as 0.
    struct ConditionEvaluator {
        const Tokens& t;
        size_t at;
        bool failed;
        Diagnostics& diagnostics;

        bool accept(Tok kind) {
            if (at < t.size() && t[at].kind == kind) {
                ++at;
                return true;
            }
            return false;
        }
        int64_t fail(const char* message) {
            if (!failed) diagnostics.error(at < t.size() ? t[at].pos : t.back().pos, message);
            failed = true;
            return 0;
        }
        static int64_t wrap(uint64_t v) { return static_cast<int64_t>(v); }

        int64_t ternary(int depth) {
            if (depth > 64) return fail("#if expression nested too deeply");
            int64_t c = binary(0, depth);
            if (!accept(Tok::Question)) return c;
            int64_t a = ternary(depth + 1);
            if (!accept(Tok::Colon)) return fail("expected ':' in #if");
            int64_t b = ternary(depth + 1);
            return c ? a : b;
        }
        int64_t binary(int minPrecedence, int depth) {
            int64_t left = unary(depth);
            for (;;) {
                if (failed || at >= t.size()) return left;
                Tok op = t[at].kind;
                int p = binaryPrecedence(op);
                if (p == 0 || p <= minPrecedence) return left;
                ++at;
                int64_t right = binary(p, depth + 1);
                left = apply(op, left, right);
            }
        }
        int64_t apply(Tok op, int64_t a, int64_t b) {
            uint64_t ua = static_cast<uint64_t>(a), ub = static_cast<uint64_t>(b);
            switch (op) {
            case Tok::OrOr: return a || b;
            case Tok::AndAnd: return a && b;
            case Tok::Pipe: return wrap(ua | ub);
            case Tok::Caret: return wrap(ua ^ ub);
            case Tok::Amp: return wrap(ua & ub);
            case Tok::Eq: return a == b;
            case Tok::NotEq: return a != b;
            case Tok::Less: return a < b;
            case Tok::Greater: return a > b;
            case Tok::LessEq: return a <= b;
            case Tok::GreaterEq: return a >= b;
            case Tok::Shl: return wrap(ua << (ub & 63));
            case Tok::Shr: return a >> (ub & 63);
            case Tok::Plus: return wrap(ua + ub);
            case Tok::Minus: return wrap(ua - ub);
            case Tok::Star: return wrap(ua * ub);
            case Tok::Slash:
            case Tok::Percent:
                if (b == 0) return fail("division by zero in #if");
                if (b == -1) return op == Tok::Slash ? wrap(0 - ua) : 0;
                return op == Tok::Slash ? a / b : a % b;
            default: return fail("invalid operator in #if");
            }
        }
        int64_t unary(int depth) {
            if (depth > 64) return fail("#if expression nested too deeply");
            if (at >= t.size()) return fail("#if expression ends early");
            const Token& token = t[at++];
            switch (token.kind) {
            case Tok::IntLiteral: return token.intValue;
            case Tok::Identifier: return 0;
            case Tok::Not: return !unary(depth + 1);
            case Tok::Minus: return wrap(0 - static_cast<uint64_t>(unary(depth + 1)));
            case Tok::Plus: return unary(depth + 1);
            case Tok::Tilde: return wrap(~static_cast<uint64_t>(unary(depth + 1)));
            case Tok::LParen: {
                int64_t v = ternary(depth + 1);
                if (!accept(Tok::RParen)) return fail("expected ')' in #if");
                return v;
            }
            default:
                --at;
                return fail("invalid token in #if expression");
            }
        }
    };

    Tokens main_;
    const Tokens* in_;
    Tokens out_;
    Diagnostics& diagnostics_;
    const Options& options_;
    std::vector<SourceFile>& files_;
    std::set<std::string> once_;
    size_t includedBytes_ = 0;
    std::map<std::string, Macro> macros_;
    std::vector<Conditional> conditionals_;
    size_t produced_ = 0;
    bool overBudget_ = false;
};

}  // namespace

std::vector<Token> preprocess(std::vector<Token> tokens, Diagnostics& diagnostics, const Options& options,
                              std::vector<SourceFile>& files) {
    if (tokens.empty()) tokens.push_back(Token{});
    if (files.empty()) files.push_back(SourceFile{options.path, "", 0});
    return Preprocessor(std::move(tokens), diagnostics, options, files).run();
}

}  // namespace Kestrane::CgCompiler
