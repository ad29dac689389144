// Compiler driver: runs lexer, preprocessor, parser, checker and emitter and
// builds the diagnostics, the listing and the driver-log translation.
#include "kestrane/cg/compiler/CgCompiler.h"

#include "kestrane/cg/compiler/Checker.h"
#include "kestrane/cg/compiler/Emitter.h"
#include "kestrane/cg/compiler/Lexer.h"
#include "kestrane/cg/compiler/Parser.h"
#include "kestrane/cg/compiler/Preprocessor.h"

#include <cctype>
#include <cstdio>

namespace Kestrane::CgCompiler {

namespace {

constexpr size_t maxSourceBytes = 4u << 20;

std::vector<std::string_view> splitLines(std::string_view source) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    while (start <= source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view line = source.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Control characters (other than tabs) become '?' so that a listing of a
// damaged file stays printable.
std::string printable(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c != '\t' && (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)) c = '?';
    return out;
}

// Parses "0:12(7)" (Mesa) or "0(12)" (others) at the start of text: the GLSL
// line and the length of the prefix.
bool driverLine(std::string_view text, int& line, size_t& length) {
    size_t i = 0;
    auto number = [&](int& value) {
        size_t start = i;
        value = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && i - start < 9)
            value = value * 10 + (text[i++] - '0');
        return i > start;
    };
    int source = 0, column = 0;
    if (!number(source) || i >= text.size()) return false;
    if (text[i] == ':') {
        ++i;
        if (!number(line)) return false;
        if (i < text.size() && text[i] == '(') {
            ++i;
            if (!number(column) || i >= text.size() || text[i] != ')') return false;
            ++i;
        }
    } else if (text[i] == '(') {
        ++i;
        if (!number(line) || i >= text.size() || text[i] != ')') return false;
        ++i;
    } else {
        return false;
    }
    length = i;
    return true;
}

// The uniform prefix must make identifiers and stay out of the names GLSL and
// the emitter reserve ("gl_", "kc_", "__").
bool validPrefix(std::string_view prefix) {
    for (size_t i = 0; i < prefix.size(); ++i) {
        char c = prefix[i];
        bool ok = std::isalpha(static_cast<unsigned char>(c)) || c == '_' || (i > 0 && std::isdigit(static_cast<unsigned char>(c)));
        if (!ok) return false;
    }
    return prefix.substr(0, 3) != "gl_" && prefix.substr(0, 3) != "kc_" && prefix.find("__") == std::string_view::npos;
}

}  // namespace

void Diagnostics::error(SourcePos pos, std::string message) {
    if (full()) return;
    Diagnostic d;
    d.line = pos.line;
    d.column = pos.column;
    d.message = std::move(message);
    errors_.push_back(std::move(d));
    files_.push_back(pos.file);
}

std::string Diagnostic::format() const {
    if (line <= 0) return file.empty() ? message : file + ": " + message;
    std::string text = (file.empty() ? "" : file + ":") + std::to_string(line) + ":" + std::to_string(column) + ": " + message;
    if (!sourceLine.empty()) {
        text += "\n    " + sourceLine + "\n    ";
        for (int i = 0; i + 1 < column && i < static_cast<int>(sourceLine.size()); ++i)
            text += sourceLine[static_cast<size_t>(i)] == '\t' ? '\t' : ' ';
        text += '^';
    }
    return text;
}

std::string Uniform::cgTypeName() const {
    static const char* names[] = {"float", "int", "bool", "sampler1D", "sampler2D", "sampler3D", "samplerCUBE", "samplerRECT"};
    std::string name = names[static_cast<int>(base)];
    if (rows > 0) name += std::to_string(rows) + "x" + std::to_string(columns);
    else if (columns > 1) name += std::to_string(columns);
    if (arraySize > 0) name += "[" + std::to_string(arraySize) + "]";
    return name;
}

int Result::cgLineForGlslLine(int glslLine) const {
    if (glslLine < 1 || glslLine > static_cast<int>(glslLineToCgLine.size())) return 0;
    return glslLineToCgLine[static_cast<size_t>(glslLine - 1)];
}

const std::string& Result::cgFileForGlslLine(int glslLine) const {
    static const std::string none;
    if (glslLine < 1 || glslLine > static_cast<int>(glslLineToCgFile.size())) return files.empty() ? none : files[0];
    size_t file = static_cast<size_t>(glslLineToCgFile[static_cast<size_t>(glslLine - 1)]);
    return file < files.size() ? files[file] : none;
}

std::string Result::mapDriverLog(std::string_view log) const {
    std::string out;
    for (std::string_view line : splitLines(log)) {
        int glslLine = 0;
        size_t length = 0;
        if (!line.empty() && driverLine(line, glslLine, length)) {
            int cgLine = cgLineForGlslLine(glslLine);
            std::string rest(line.substr(length));
            while (!rest.empty() && (rest[0] == ' ' || rest[0] == ':')) rest.erase(0, 1);
            bool included = glslLine <= static_cast<int>(glslLineToCgFile.size()) &&
                            glslLineToCgFile[static_cast<size_t>(glslLine - 1)] > 0;
            std::string where = included ? cgFileForGlslLine(glslLine) + " line " : "line ";
            out += (cgLine > 0 ? where + std::to_string(cgLine) : "generated line " + std::to_string(glslLine)) +
                   ": " + rest;
        } else {
            out += line;
        }
        out += '\n';
    }
    while (out.size() >= 2 && out[out.size() - 1] == '\n' && out[out.size() - 2] == '\n') out.pop_back();
    return out;
}

const Uniform* Result::findUniform(std::string_view cgName) const {
    for (const Uniform& u : uniforms)
        if (u.cgName == cgName) return &u;
    return nullptr;
}

Result compile(std::string_view source, Stage stage, std::string_view entry, std::string_view uniformPrefix,
               const Options& options) {
    Result result;
    Diagnostics diagnostics;
    std::vector<SourceFile> files;
    files.push_back(SourceFile{options.path, source.size() > maxSourceBytes ? std::string() : std::string(source), 0});
    if (!validPrefix(uniformPrefix)) {
        diagnostics.error(SourcePos{}, "invalid uniform prefix '" + printable(uniformPrefix) + "'");
    } else if (source.size() > maxSourceBytes) {
        diagnostics.error(SourcePos{}, "source is too large (" + std::to_string(source.size()) + " bytes)");
    } else {
        std::vector<Token> tokens = lex(source, diagnostics);
        if (!diagnostics.hasErrors()) tokens = preprocess(std::move(tokens), diagnostics, options, files);
        Program program;
        if (!diagnostics.hasErrors()) parse(tokens, program, diagnostics);
        FuncDecl* entryFunction = nullptr;
        if (!diagnostics.hasErrors()) entryFunction = Checker(program, diagnostics, stage, std::string(entry)).run();
        if (entryFunction && !diagnostics.hasErrors())
            Emitter(program, *entryFunction, stage, std::string(uniformPrefix), diagnostics, options.target).run(result);
    }
    result.ok = !diagnostics.hasErrors();
    if (!result.ok) {
        result.glsl.clear();
        result.uniforms.clear();
        result.attributes.clear();
        result.glslLineToCgLine.clear();
        result.glslLineToCgFile.clear();
    }
    for (const SourceFile& f : files) result.files.push_back(f.path);
    std::vector<std::vector<std::string_view>> fileLines;
    for (const SourceFile& f : files) fileLines.push_back(splitLines(f.text));
    for (size_t k = 0; k < diagnostics.errors().size(); ++k) {
        Diagnostic& d = diagnostics.errors()[k];
        int index = diagnostics.errorFiles()[k];
        size_t file = index >= 0 && index < static_cast<int>(files.size()) ? static_cast<size_t>(index) : 0;
        const auto& lines = fileLines[file];
        if (d.line > 0 && d.line <= static_cast<int>(lines.size())) d.sourceLine = printable(lines[static_cast<size_t>(d.line - 1)]);
        d.file = files[file].path;
    }
    result.errors = std::move(diagnostics.errors());
    const std::vector<std::string_view>& lines = fileLines[0];

    std::string& listing = result.listing;
    listing = std::string("Cg ") + (stage == Stage::Vertex ? "vertex" : "fragment") + " program, entry '" +
              printable(entry) + "': ";
    listing += result.ok ? "compiled" : std::to_string(result.errors.size()) + " error(s)";
    listing += '\n';
    for (const Diagnostic& d : result.errors) listing += d.format() + '\n';
    listing += '\n';
    char number[32];
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i + 1 == lines.size() && lines[i].empty()) break;
        std::snprintf(number, sizeof number, "%5zu | ", i + 1);
        listing += number;
        listing += printable(lines[i]);
        listing += '\n';
    }
    return result;
}

}  // namespace Kestrane::CgCompiler
