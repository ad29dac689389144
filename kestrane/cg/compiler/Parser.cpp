// Parser of the Cg subset.
#include "kestrane/cg/compiler/Parser.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace Kestrane::CgCompiler {

namespace {

constexpr int maxNesting = 256;     // statements and parenthesised expressions
constexpr int maxExprDepth = 256;   // height of one expression tree

struct SyntaxError {};

class Parser {
public:
    Parser(const std::vector<Token>& tokens, Program& program, Diagnostics& diagnostics)
        : t_(tokens), program_(program), diagnostics_(diagnostics) {}

    bool run() {
        try {
            while (peek().kind != Tok::End) topLevel();
            return true;
        } catch (const SyntaxError&) {
            return false;
        }
    }

private:
    // ---- token access ----
    const Token& peek(size_t ahead = 0) const {
        size_t i = std::min(at_ + ahead, t_.size() - 1);
        return t_[i];
    }
    const Token& next() {
        const Token& token = t_[at_];
        if (at_ + 1 < t_.size()) ++at_;
        return token;
    }
    bool accept(Tok kind) {
        if (peek().kind != kind) return false;
        next();
        return true;
    }
    bool acceptWord(const char* word) {
        if (peek().kind != Tok::Identifier || peek().text != word) return false;
        next();
        return true;
    }
    [[noreturn]] void fail(SourcePos pos, const std::string& message) {
        diagnostics_.error(pos, message);
        throw SyntaxError{};
    }
    [[noreturn]] void unexpected(const std::string& wanted) {
        fail(peek().pos, "expected " + wanted + " but found " + describe(peek()));
    }
    const Token& expect(Tok kind, const char* what = nullptr) {
        if (peek().kind != kind) unexpected(what ? what : "'" + std::string(spelling(kind)) + "'");
        return next();
    }
    std::string expectIdentifier(const char* what) {
        if (peek().kind != Tok::Identifier) unexpected(what);
        return next().text;
    }

    struct NestingGuard {
        Parser& p;
        NestingGuard(Parser& parser, SourcePos pos) : p(parser) {
            if (++p.nesting_ > maxNesting) p.fail(pos, "nesting too deep");
        }
        ~NestingGuard() { --p.nesting_; }
    };

    // ---- types ----
    static bool isQualifier(const std::string& w) {
        return w == "uniform" || w == "static" || w == "const" || w == "in" || w == "out" || w == "inout" ||
               w == "extern" || w == "inline" || w == "volatile" || w == "shared";
    }
    bool isTypeName(const Token& token) const {
        if (token.kind != Tok::Identifier) return false;
        return !builtinType(token.text).isError() || structs_.count(token.text) ||
               token.text == "struct" || token.text == "typedef" || token.text == "sampler" ||
               token.text == "samplerRECT";
    }
    bool startsDeclaration() const {
        const Token& t = peek();
        if (t.kind != Tok::Identifier) return false;
        if (isQualifier(t.text)) return true;
        // "float4(...)" at the start of a statement is a constructor expression.
        return isTypeName(t) && peek(1).kind != Tok::LParen;
    }

    Type parseType() {
        const Token& token = peek();
        if (token.kind != Tok::Identifier) unexpected("a type");
        if (token.text == "struct" && peek(1).kind == Tok::Identifier && peek(2).kind != Tok::LBrace) next();
        const Token& name = next();
        if (auto s = structs_.find(name.text); s != structs_.end()) {
            Type type;
            type.base = Base::Struct;
            type.structDecl = s->second;
            return type;
        }
        Type type = builtinType(name.text);
        if (type.isError()) {
            if (name.text == "typedef") fail(name.pos, "typedef is not supported");
            if (isTypeName(name)) fail(name.pos, "type '" + name.text + "' is not supported");
            fail(name.pos, "unknown type '" + name.text + "'");
        }
        if (type.rows > 0 && type.base != Base::Float) {
            // GLSL has float matrices only: an int or bool RxC matrix is kept
            // as an array of R rows, so M[i] is row i as in Cg.
            Type rows = Type::vector(type.base, type.columns);
            rows.arraySize = type.rows;
            return rows;
        }
        return type;
    }

    std::string parseSemantic() {
        // ": NAME", optionally with arguments ("register(c0)"), which are ignored.
        const Token& name = peek();
        std::string semantic = expectIdentifier("a semantic");
        std::transform(semantic.begin(), semantic.end(), semantic.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        if (accept(Tok::LParen)) {
            while (!accept(Tok::RParen)) {
                if (peek().kind == Tok::End) fail(name.pos, "unterminated semantic");
                next();
            }
            return "";
        }
        return semantic;
    }

    // "[size]" after a declarator name.
    void parseArraySuffix(VarDecl& var) {
        if (!accept(Tok::LBracket)) return;
        if (accept(Tok::RBracket)) {
            var.arraySizeFromInit = true;
        } else {
            var.arraySizeExpr = parseAssignment();
            expect(Tok::RBracket);
        }
        if (peek().kind == Tok::LBracket) fail(peek().pos, "arrays of arrays are not supported");
    }

    // ---- top level ----
    void topLevel() {
        if (accept(Tok::Semicolon)) return;
        if (peek().kind == Tok::Identifier && peek().text == "struct" && peek(2).kind == Tok::LBrace) {
            parseStruct();
            return;
        }
        SourcePos start = peek().pos;
        bool isUniform = false, isStatic = false, isConst = false;
        while (peek().kind == Tok::Identifier && isQualifier(peek().text)) {
            const Token& q = next();
            if (q.text == "uniform") isUniform = true;
            else if (q.text == "static") isStatic = true;
            else if (q.text == "const") isConst = true;
            else if (q.text == "in" || q.text == "out" || q.text == "inout")
                fail(q.pos, "'" + q.text + "' is only allowed on parameters");
        }
        Type type = parseType();
        const Token& nameToken = peek();
        std::string name = expectIdentifier("a name");
        if (peek().kind == Tok::LParen) {
            parseFunction(type, name, nameToken.pos);
            return;
        }
        if (type.isVoid()) fail(nameToken.pos, "variable '" + name + "' declared void");
        if (isUniform && isStatic) fail(start, "a global cannot be both uniform and static");
        for (bool first = true;; first = false) {
            auto var = std::make_unique<VarDecl>();
            if (first) {
                var->name = name;
                var->pos = nameToken.pos;
            } else {
                var->pos = peek().pos;
                var->name = expectIdentifier("a name");
            }
            var->type = type;
            var->isConst = isConst;
            var->uniformQualifier = isUniform;
            // Cg: a global without "static" is a uniform parameter of the program.
            var->storage = isStatic ? Storage::GlobalStatic : Storage::GlobalUniform;
            parseArraySuffix(*var);
            if (accept(Tok::Colon)) var->semantic = parseSemantic();
            if (accept(Tok::Assign)) var->init = parseInitializer();
            program_.order.push_back(TopLevel{nullptr, var.get(), nullptr});
            program_.globals.push_back(std::move(var));
            if (!accept(Tok::Comma)) break;
        }
        expect(Tok::Semicolon);
    }

    void parseStruct() {
        next();  // struct
        auto decl = std::make_unique<StructDecl>();
        decl->pos = peek().pos;
        decl->name = expectIdentifier("a struct name");
        if (structs_.count(decl->name) || !builtinType(decl->name).isError())
            fail(decl->pos, "redefinition of type '" + decl->name + "'");
        expect(Tok::LBrace);
        while (!accept(Tok::RBrace)) {
            bool uniform = false;
            while (peek().kind == Tok::Identifier && isQualifier(peek().text)) {
                const Token& q = next();
                if (q.text != "uniform") fail(q.pos, "'" + q.text + "' is not allowed on a struct member");
                uniform = true;
            }
            Type type = parseType();
            if (type.isVoid()) fail(peek().pos, "struct member declared void");
            for (;;) {
                auto member = std::make_unique<VarDecl>();
                member->pos = peek().pos;
                member->name = expectIdentifier("a member name");
                member->type = type;
                member->storage = Storage::Member;
                member->uniformQualifier = uniform;
                parseArraySuffix(*member);
                if (accept(Tok::Colon)) member->semantic = parseSemantic();
                decl->members.push_back(std::move(member));
                if (!accept(Tok::Comma)) break;
            }
            expect(Tok::Semicolon);
        }
        if (peek().kind != Tok::Semicolon) unexpected("';' after the struct (declare variables separately)");
        next();
        structs_[decl->name] = decl.get();
        program_.order.push_back(TopLevel{decl.get(), nullptr, nullptr});
        program_.structs.push_back(std::move(decl));
    }

    void parseFunction(const Type& returnType, const std::string& name, SourcePos pos) {
        auto func = std::make_unique<FuncDecl>();
        func->name = name;
        func->pos = pos;
        func->returnType = returnType;
        expect(Tok::LParen);
        if (peek().kind == Tok::Identifier && peek().text == "void" && peek(1).kind == Tok::RParen) next();
        if (!accept(Tok::RParen)) {
            for (;;) {
                func->params.push_back(parseParam());
                if (accept(Tok::RParen)) break;
                expect(Tok::Comma, "',' or ')'");
            }
        }
        if (accept(Tok::Colon)) func->returnSemantic = parseSemantic();
        if (!accept(Tok::Semicolon)) {
            if (peek().kind != Tok::LBrace) unexpected("'{' or ';'");
            func->body = parseBlock();
        }
        program_.order.push_back(TopLevel{nullptr, nullptr, func.get()});
        program_.functions.push_back(std::move(func));
    }

    std::unique_ptr<VarDecl> parseParam() {
        auto var = std::make_unique<VarDecl>();
        var->storage = Storage::Param;
        while (peek().kind == Tok::Identifier && isQualifier(peek().text)) {
            const Token& q = next();
            if (q.text == "out") var->mode = ParamMode::Out;
            else if (q.text == "inout") var->mode = ParamMode::InOut;
            else if (q.text == "uniform") var->uniformQualifier = true;
            else if (q.text == "const") var->isConst = true;
            else if (q.text == "static") fail(q.pos, "a parameter cannot be static");
        }
        var->type = parseType();
        var->pos = peek().pos;
        var->name = expectIdentifier("a parameter name");
        if (var->type.isVoid()) fail(var->pos, "parameter '" + var->name + "' declared void");
        parseArraySuffix(*var);
        if (var->arraySizeFromInit) fail(var->pos, "parameter '" + var->name + "' needs an array size");
        if (accept(Tok::Colon)) var->semantic = parseSemantic();
        if (peek().kind == Tok::Assign) fail(peek().pos, "default parameter values are not supported");
        return var;
    }

    // ---- statements ----
    StmtPtr parseBlock() {
        NestingGuard guard(*this, peek().pos);
        auto block = std::make_unique<Stmt>(StmtKind::Block, peek().pos);
        expect(Tok::LBrace);
        while (!accept(Tok::RBrace)) {
            if (peek().kind == Tok::End) fail(block->pos, "'{' is not closed");
            block->body.push_back(parseStatement());
        }
        return block;
    }

    StmtPtr parseStatement() {
        NestingGuard guard(*this, peek().pos);
        const Token& token = peek();
        SourcePos pos = token.pos;
        if (token.kind == Tok::LBrace) return parseBlock();
        if (accept(Tok::Semicolon)) return std::make_unique<Stmt>(StmtKind::Empty, pos);
        if (token.kind == Tok::Identifier) {
            if (acceptWord("if")) {
                auto s = std::make_unique<Stmt>(StmtKind::If, pos);
                expect(Tok::LParen);
                s->cond = parseExpression();
                expect(Tok::RParen);
                s->then = parseStatement();
                if (acceptWord("else")) s->otherwise = parseStatement();
                return s;
            }
            if (acceptWord("while")) {
                auto s = std::make_unique<Stmt>(StmtKind::While, pos);
                expect(Tok::LParen);
                s->cond = parseExpression();
                expect(Tok::RParen);
                s->then = parseStatement();
                return s;
            }
            if (acceptWord("do")) {
                auto s = std::make_unique<Stmt>(StmtKind::Do, pos);
                s->then = parseStatement();
                if (!acceptWord("while")) unexpected("'while'");
                expect(Tok::LParen);
                s->cond = parseExpression();
                expect(Tok::RParen);
                expect(Tok::Semicolon);
                return s;
            }
            if (acceptWord("for")) {
                auto s = std::make_unique<Stmt>(StmtKind::For, pos);
                expect(Tok::LParen);
                if (peek().kind == Tok::Semicolon) s->init = std::make_unique<Stmt>(StmtKind::Empty, peek().pos);
                else if (startsDeclaration()) s->init = parseDeclaration();
                else s->init = expressionStatement();
                if (s->init->kind == StmtKind::Empty) next();
                if (peek().kind != Tok::Semicolon) s->cond = parseExpression();
                expect(Tok::Semicolon);
                if (peek().kind != Tok::RParen) s->step = parseExpression();
                expect(Tok::RParen);
                s->then = parseStatement();
                return s;
            }
            if (acceptWord("return")) {
                auto s = std::make_unique<Stmt>(StmtKind::Return, pos);
                if (peek().kind != Tok::Semicolon) s->expr = parseExpression();
                expect(Tok::Semicolon);
                return s;
            }
            for (auto [word, kind] : {std::pair{"break", StmtKind::Break}, {"continue", StmtKind::Continue},
                                      {"discard", StmtKind::Discard}}) {
                if (acceptWord(word)) {
                    expect(Tok::Semicolon);
                    return std::make_unique<Stmt>(kind, pos);
                }
            }
            if (token.text == "switch" || token.text == "goto" || token.text == "case")
                fail(pos, "'" + token.text + "' is not supported");
            if (startsDeclaration()) return parseDeclaration();
        }
        return expressionStatement();
    }

    // Expression statement, consuming its ';'.
    StmtPtr expressionStatement() {
        auto s = std::make_unique<Stmt>(StmtKind::Expr, peek().pos);
        s->expr = parseExpression();
        expect(Tok::Semicolon);
        return s;
    }

    // Local declaration with its ';'.
    StmtPtr parseDeclaration() {
        auto s = std::make_unique<Stmt>(StmtKind::Decl, peek().pos);
        bool isConst = false;
        while (peek().kind == Tok::Identifier && isQualifier(peek().text)) {
            const Token& q = next();
            if (q.text == "const") isConst = true;
            else if (q.text != "static" && q.text != "volatile")
                fail(q.pos, "'" + q.text + "' is not allowed on a local variable");
        }
        Type type = parseType();
        if (type.isVoid()) fail(s->pos, "variable declared void");
        for (;;) {
            auto var = std::make_unique<VarDecl>();
            var->pos = peek().pos;
            var->name = expectIdentifier("a variable name");
            var->type = type;
            var->isConst = isConst;
            var->storage = Storage::Local;
            parseArraySuffix(*var);
            if (accept(Tok::Colon)) var->semantic = parseSemantic();
            if (accept(Tok::Assign)) var->init = parseInitializer();
            s->decls.push_back(std::move(var));
            if (!accept(Tok::Comma)) break;
        }
        expect(Tok::Semicolon);
        return s;
    }

    ExprPtr parseInitializer() {
        if (peek().kind != Tok::LBrace) return parseAssignment();
        NestingGuard guard(*this, peek().pos);
        auto list = std::make_unique<Expr>(ExprKind::InitList, next().pos);
        while (!accept(Tok::RBrace)) {
            list->args.push_back(parseInitializer());
            if (accept(Tok::RBrace)) break;
            expect(Tok::Comma, "',' or '}'");
        }
        return finish(std::move(list));
    }

    // ---- expressions ----
    ExprPtr finish(ExprPtr e) {
        int depth = 0;
        for (const ExprPtr& a : e->args) depth = std::max(depth, a->depth);
        e->depth = depth + 1;
        if (e->depth > maxExprDepth) fail(e->pos, "expression too complex");
        return e;
    }

    ExprPtr make(ExprKind kind, SourcePos pos, Tok op, ExprPtr a, ExprPtr b = nullptr, ExprPtr c = nullptr) {
        auto e = std::make_unique<Expr>(kind, pos);
        e->op = op;
        e->args.push_back(std::move(a));
        if (b) e->args.push_back(std::move(b));
        if (c) e->args.push_back(std::move(c));
        return finish(std::move(e));
    }

    ExprPtr parseExpression() {
        NestingGuard guard(*this, peek().pos);
        ExprPtr e = parseAssignment();
        while (peek().kind == Tok::Comma) {
            SourcePos pos = next().pos;
            e = make(ExprKind::Comma, pos, Tok::Comma, std::move(e), parseAssignment());
        }
        return e;
    }

    static bool isAssignOp(Tok k) {
        switch (k) {
        case Tok::Assign: case Tok::PlusAssign: case Tok::MinusAssign: case Tok::StarAssign:
        case Tok::SlashAssign: case Tok::PercentAssign: case Tok::AmpAssign: case Tok::PipeAssign:
        case Tok::CaretAssign: case Tok::ShlAssign: case Tok::ShrAssign:
            return true;
        default:
            return false;
        }
    }

    ExprPtr parseAssignment() {
        NestingGuard guard(*this, peek().pos);
        ExprPtr left = parseTernary();
        if (isAssignOp(peek().kind)) {
            const Token& op = next();
            return make(ExprKind::Assign, op.pos, op.kind, std::move(left), parseAssignment());
        }
        return left;
    }

    ExprPtr parseTernary() {
        ExprPtr cond = parseBinary(0);
        if (peek().kind != Tok::Question) return cond;
        SourcePos pos = next().pos;
        NestingGuard guard(*this, pos);
        ExprPtr a = parseAssignment();
        expect(Tok::Colon, "':'");
        ExprPtr b = parseAssignment();
        return make(ExprKind::Ternary, pos, Tok::Question, std::move(cond), std::move(a), std::move(b));
    }

    // Precedence climbing: recursion only per precedence level, loops along a chain.
    ExprPtr parseBinary(int minPrecedence) {
        ExprPtr left = parseUnary();
        for (;;) {
            Tok op = peek().kind;
            int p = binaryPrecedence(op);
            if (p == 0 || p <= minPrecedence) return left;
            SourcePos pos = next().pos;
            ExprPtr right = parseBinary(p);
            left = make(ExprKind::Binary, pos, op, std::move(left), std::move(right));
        }
    }

    ExprPtr parseUnary() {
        NestingGuard guard(*this, peek().pos);
        const Token& token = peek();
        switch (token.kind) {
        case Tok::Plus: case Tok::Minus: case Tok::Not: case Tok::Tilde:
        case Tok::PlusPlus: case Tok::MinusMinus: {
            next();
            return make(ExprKind::Unary, token.pos, token.kind, parseUnary());
        }
        case Tok::LParen:
            if (isCast()) {
                SourcePos pos = next().pos;
                Type type = parseType();
                if (peek().kind == Tok::LBracket) fail(peek().pos, "casts to array types are not supported");
                expect(Tok::RParen);
                auto e = std::make_unique<Expr>(ExprKind::Cast, pos);
                e->written = type;
                e->args.push_back(parseUnary());
                return finish(std::move(e));
            }
            break;
        default:
            break;
        }
        return parsePostfix(parsePrimary());
    }

    // "(type)" followed by an operand, as opposed to "(float4(...))".
    bool isCast() const {
        size_t k = 1;
        if (peek(k).kind == Tok::Identifier && peek(k).text == "const") ++k;
        if (!isTypeName(peek(k))) return false;
        if (peek(k).text == "struct") ++k;
        return peek(k + 1).kind == Tok::RParen || peek(k + 1).kind == Tok::LBracket;
    }

    ExprPtr parsePostfix(ExprPtr e) {
        for (;;) {
            const Token& token = peek();
            if (token.kind == Tok::Dot) {
                next();
                auto m = std::make_unique<Expr>(ExprKind::Member, token.pos);
                m->name = expectIdentifier("a member name or swizzle");
                m->args.push_back(std::move(e));
                e = finish(std::move(m));
            } else if (token.kind == Tok::LBracket) {
                next();
                ExprPtr index = parseExpression();
                expect(Tok::RBracket);
                e = make(ExprKind::Index, token.pos, Tok::LBracket, std::move(e), std::move(index));
            } else if (token.kind == Tok::PlusPlus || token.kind == Tok::MinusMinus) {
                next();
                e = make(ExprKind::Postfix, token.pos, token.kind, std::move(e));
            } else {
                return e;
            }
        }
    }

    void parseArguments(Expr& call) {
        expect(Tok::LParen);
        if (accept(Tok::RParen)) return;
        for (;;) {
            call.args.push_back(parseAssignment());
            if (accept(Tok::RParen)) return;
            expect(Tok::Comma, "',' or ')'");
        }
    }

    ExprPtr parsePrimary() {
        const Token& token = peek();
        switch (token.kind) {
        case Tok::IntLiteral: {
            next();
            auto e = std::make_unique<Expr>(ExprKind::IntLit, token.pos);
            e->intValue = token.intValue;
            return e;
        }
        case Tok::FloatLiteral: {
            next();
            auto e = std::make_unique<Expr>(ExprKind::FloatLit, token.pos);
            e->floatValue = token.floatValue;
            return e;
        }
        case Tok::LParen: {
            next();
            ExprPtr e = parseExpression();
            expect(Tok::RParen);
            return e;
        }
        case Tok::Identifier:
            break;
        default:
            unexpected("an expression");
        }
        if (token.text == "true" || token.text == "false") {
            next();
            auto e = std::make_unique<Expr>(ExprKind::BoolLit, token.pos);
            e->intValue = token.text == "true";
            return e;
        }
        if (isTypeName(token)) {
            Type type = parseType();
            if (accept(Tok::LBracket)) {
                // Array constructor "T[N](...)" or "T[](...)".
                type.arraySize = -1;
                if (peek().kind == Tok::IntLiteral) {
                    const Token& size = next();
                    if (size.intValue <= 0 || size.intValue > 4096)
                        fail(size.pos, "array constructor size must be from 1 to 4096");
                    type.arraySize = static_cast<int>(size.intValue);
                } else if (peek().kind != Tok::RBracket) {
                    fail(peek().pos, "array constructor size must be an integer constant");
                }
                expect(Tok::RBracket);
            }
            if (peek().kind != Tok::LParen) unexpected("'(' after type name in a constructor");
            auto e = std::make_unique<Expr>(ExprKind::Construct, token.pos);
            e->written = type;
            parseArguments(*e);
            return finish(std::move(e));
        }
        next();
        if (peek().kind == Tok::LParen) {
            auto e = std::make_unique<Expr>(ExprKind::Call, token.pos);
            e->name = token.text;
            parseArguments(*e);
            return finish(std::move(e));
        }
        auto e = std::make_unique<Expr>(ExprKind::Name, token.pos);
        e->name = token.text;
        return e;
    }

    const std::vector<Token>& t_;
    size_t at_ = 0;
    Program& program_;
    Diagnostics& diagnostics_;
    std::map<std::string, StructDecl*> structs_;
    int nesting_ = 0;
};

}  // namespace

bool parse(const std::vector<Token>& tokens, Program& program, Diagnostics& diagnostics) {
    if (tokens.empty()) return true;
    return Parser(tokens, program, diagnostics).run();
}

}  // namespace Kestrane::CgCompiler
