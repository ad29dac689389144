// vessara-cgc [-I DIR]... --entry NAME --stage vertex|fragment [--target glsl120|es300] [--gl] FILE.cg
// vessara-cgc --help
//
// Prints the GLSL of FILE's entry on standard output and exits 0. On a
// compile error prints "FILE:LINE:COLUMN: error: message" with the source
// line and a caret on standard error and exits 1; bad options exit 2. --gl
// also compiles the GLSL with the GL driver (SDL's offscreen video driver
// unless SDL_VIDEODRIVER is set) and reports the driver's log on Cg lines,
// exiting 1 when the driver refuses the program.
#include "kestrane/cg/compiler/CgCompiler.h"

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace Kestrane::CgCompiler;

namespace {

struct Arguments {
    std::vector<std::string> includeDirs;
    std::string entry, file;
    Stage stage = Stage::Vertex;
    bool stageGiven = false;
    bool gl = false;
    Target target = Target::Glsl120;
};

constexpr const char* Help =
    "usage: vessara-cgc [-I DIR]... --entry NAME --stage vertex|fragment [--target T] [--gl] FILE.cg\n"
    "  Translates the Cg program's entry NAME to GLSL on standard output.\n"
    "  -I DIR         look for #include files in DIR too (after the including file's folder)\n"
    "  --entry NAME   the entry function, e.g. main_vertex, psMain\n"
    "  --stage S      vertex or fragment\n"
    "  --target T     glsl120 (GLSL 1.20, the desktop's; the default) or es300 (GLSL ES 3.00, WebGL 2's)\n"
    "  --gl           also compile the result with the GL driver and report its log on Cg lines\n"
    "Exit status: 0 translated, 1 the program (or, with --gl, the driver) refused it, 2 bad options.\n";

int usage(const std::string& problem) {
    std::fprintf(stderr, "vessara-cgc: %s\nusage: vessara-cgc [-I DIR]... --entry NAME --stage vertex|fragment [--target T] [--gl] FILE.cg\n",
                 problem.c_str());
    return 2;
}

// Parses argv; returns 0 when the arguments are complete, -1 after --help,
// else the exit status.
int parseArguments(int argc, char** argv, Arguments& a) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-I" || arg == "--entry" || arg == "--stage" || arg == "--target") {
            const char* v = i + 1 < argc ? argv[++i] : nullptr;
            if (!v) return usage(arg + " needs a value");
            if (arg == "-I") a.includeDirs.emplace_back(v);
            else if (arg == "--target" && std::string(v) == "glsl120") a.target = Target::Glsl120;
            else if (arg == "--target" && std::string(v) == "es300") a.target = Target::Es300;
            else if (arg == "--target") return usage("--target must be glsl120 or es300, not '" + std::string(v) + "'");
            else if (arg == "--entry") a.entry = v;
            else if (std::string(v) == "vertex" || std::string(v) == "fragment") {
                a.stage = std::string(v) == "vertex" ? Stage::Vertex : Stage::Fragment;
                a.stageGiven = true;
            } else {
                return usage("--stage must be vertex or fragment, not '" + std::string(v) + "'");
            }
        } else if (arg.size() > 2 && arg.compare(0, 2, "-I") == 0) {
            a.includeDirs.push_back(arg.substr(2));
        } else if (arg == "--help" || arg == "-h") {
            std::fputs(Help, stdout);
            return -1;
        } else if (arg == "--gl") {
            a.gl = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return usage("unknown option '" + arg + "'");
        } else if (a.file.empty()) {
            a.file = arg;
        } else {
            return usage("more than one input file");
        }
    }
    if (a.file.empty()) return usage("no input file");
    if (a.entry.empty()) return usage("--entry is required");
    if (!a.stageGiven) return usage("--stage is required");
    return 0;
}

void printDiagnostic(const std::string& fallbackFile, const Diagnostic& d) {
    const std::string& file = d.file.empty() ? fallbackFile : d.file;
    if (d.line <= 0) {
        std::fprintf(stderr, "%s: error: %s\n", file.c_str(), d.message.c_str());
        return;
    }
    std::fprintf(stderr, "%s:%d:%d: error: %s\n", file.c_str(), d.line, d.column, d.message.c_str());
    if (d.sourceLine.empty()) return;
    std::string caret;
    for (int i = 0; i + 1 < d.column && i < static_cast<int>(d.sourceLine.size()); ++i)
        caret += d.sourceLine[static_cast<size_t>(i)] == '\t' ? '\t' : ' ';
    std::fprintf(stderr, "    %s\n    %s^\n", d.sourceLine.c_str(), caret.c_str());
}

// Compiles the GLSL on an offscreen GL context: "" when the driver accepts it,
// else its log with the lines mapped back to the Cg files.
bool driverAccepts(const Result& r, Stage stage, const std::string& file, std::string& report) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        report = std::string("cannot start the GL driver: ") + SDL_GetError();
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_Window* window = SDL_CreateWindow("vessara-cgc", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        report = std::string("cannot create a GL context: ") + SDL_GetError();
        if (window) SDL_DestroyWindow(window);
        SDL_Quit();
        return false;
    }
    GLuint shader = glCreateShader(stage == Stage::Vertex ? GL_VERTEX_SHADER : GL_FRAGMENT_SHADER);
    const char* text = r.glsl.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0, length = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<size_t>(length > 0 ? length : 1), '\0');
    if (length > 0) glGetShaderInfoLog(shader, length, nullptr, log.data());
    log.resize(std::string(log.c_str()).size());
    glDeleteShader(shader);
    SDL_GL_DeleteContext(context);
    SDL_DestroyWindow(window);
    SDL_Quit();
    if (!log.empty()) report = file + ": GL driver: " + r.mapDriverLog(log);
    return ok != 0;
}

}  // namespace

int main(int argc, char** argv) {
    Arguments a;
    if (int status = parseArguments(argc, argv, a)) return status < 0 ? 0 : status;
    std::ifstream in(a.file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: error: cannot open the file\n", a.file.c_str());
        return 1;
    }
    std::ostringstream text;
    text << in.rdbuf();
    Options options;
    options.path = a.file;
    options.includeDirs = a.includeDirs;
    options.target = a.target;
    Result r = compile(text.str(), a.stage, a.entry, a.stage == Stage::Vertex ? "vp_" : "fp_", options);
    if (!r.ok) {
        for (const Diagnostic& d : r.errors) printDiagnostic(a.file, d);
        return 1;
    }
    if (a.gl) {
        std::string report;
        bool accepted = driverAccepts(r, a.stage, a.file, report);
        if (!report.empty()) std::fprintf(stderr, "%s\n", report.c_str());
        if (!accepted) {
            if (report.empty()) std::fprintf(stderr, "%s: error: the GL driver refused the program\n", a.file.c_str());
            return 1;
        }
    }
    std::fwrite(r.glsl.data(), 1, r.glsl.size(), stdout);
    return 0;
}
