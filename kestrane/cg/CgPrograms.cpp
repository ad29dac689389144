// Programs of the runtime: compilation through the Cg compiler, the GL shader
// object per program, the per-stage binding and the on-demand link of the
// bound pair, cached for the life of the context.
#include "kestrane/cg/CgRuntime.h"

#include "kestrane/GL.h"
#include "kestrane/GLDialect.h"

#include <algorithm>
#include <limits>

namespace {

using Kestrane::CgCompiler::Stage;

constexpr std::uint64_t neverUploaded = std::numeric_limits<std::uint64_t>::max();

// Which programs the next drawing uses.
struct Binding {
    CgProgramImpl* vertex = nullptr;
    CgProgramImpl* fragment = nullptr;
    bool vertexEnabled = false;
    bool fragmentEnabled = false;
};
Binding binding;

const char* stageName(const CgProgramImpl& program) {
    return program.isFragment() ? "fragment" : "vertex";
}

std::string shaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetShaderInfoLog(shader, static_cast<GLsizei>(log.size()), nullptr, log.data());
    log.resize(log.find('\0') == std::string::npos ? log.size() : log.find('\0'));
    return log;
}

std::string programLog(GLuint program) {
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::string log(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    glGetProgramInfoLog(program, static_cast<GLsizei>(log.size()), nullptr, log.data());
    log.resize(log.find('\0') == std::string::npos ? log.size() : log.find('\0'));
    return log;
}

// Compiles the program's GLSL into a GL shader object. false (after the
// error has been raised) when the driver rejects it.
bool loadProgram(CgProgramImpl& program) {
    if (program.shader != 0) {
        return true;
    }
    const GLuint shader =
        glCreateShader(program.isFragment() ? GL_FRAGMENT_SHADER : GL_VERTEX_SHADER);
    const char* text = program.compiled.glsl.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        std::string listing = "The GL driver rejected the " + std::string(stageName(program)) +
                              " program \"" + program.entry + "\":\n" +
                              program.compiled.mapDriverLog(shaderLog(shader)) + "\n" +
                              program.compiled.listing;
        glDeleteShader(shader);
        CgRuntime::raiseError(CG_COMPILER_ERROR, program.context, std::move(listing));
        return false;
    }
    program.shader = shader;
    return true;
}

void addSlots(CgLinkedPair& pair, CgProgramImpl* program) {
    if (!program) {
        return;
    }
    for (const auto& parameter : program->parameters) {
        const auto& declaration = parameter->declaration;
        const GLint location = glGetUniformLocation(pair.program, declaration.glslName.c_str());
        const GLint sizeLocation =
            declaration.sizeGlslName.empty()
                ? -1
                : glGetUniformLocation(pair.program, declaration.sizeGlslName.c_str());
        if (location >= 0 || sizeLocation >= 0) {
            pair.slots.push_back({parameter.get(), location, sizeLocation, 0});
        }
    }
}

// Links the pair; on failure raises the error and leaves program 0 (the
// failure is cached so that it is reported once, not on every draw).
CgLinkedPair linkPair(CgContextImpl& context, CgProgramImpl* vertex, CgProgramImpl* fragment) {
    CgLinkedPair pair;
    pair.vertexSeen = neverUploaded;
    pair.fragmentSeen = neverUploaded;
    const GLuint program = glCreateProgram();
    if (vertex) {
        glAttachShader(program, vertex->shader);
        for (const auto& attribute : vertex->compiled.attributes) {
            glBindAttribLocation(program, static_cast<GLuint>(attribute.location),
                                 attribute.glslName.c_str());
        }
    }
    if (fragment) {
        glAttachShader(program, fragment->shader);
    }
    glLinkProgram(program);
    GLint status = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        std::string listing = "The GL driver could not link vertex program \"" +
                              (vertex ? vertex->entry : std::string("(none)")) +
                              "\" with fragment program \"" +
                              (fragment ? fragment->entry : std::string("(none)")) + "\":\n" +
                              programLog(program) + "\n";
        if (vertex) {
            listing += vertex->compiled.listing + "\n";
        }
        if (fragment && !(vertex && vertex->source == fragment->source)) {
            listing += fragment->compiled.listing + "\n";
        }
        glDeleteProgram(program);
        CgRuntime::raiseError(CG_LINKER_ERROR, &context, std::move(listing));
        return pair;
    }
    pair.program = program;
    addSlots(pair, vertex);
    addSlots(pair, fragment);
    return pair;
}

}  // namespace

CGprogram cgCreateProgram(CGcontext context, CGenum programType, const char* source,
                          CGprofile profile, const char* entry, const char** args) {
    if (!context) {
        CgRuntime::raiseError(CG_INVALID_CONTEXT_HANDLE_ERROR);
        return nullptr;
    }
    if (programType != CG_SOURCE) {
        CgRuntime::raiseError(CG_INVALID_ENUMERANT_ERROR);
        return nullptr;
    }
    if (profile != CG_PROFILE_ARBVP1 && profile != CG_PROFILE_ARBFP1) {
        CgRuntime::raiseError(CG_UNKNOWN_PROFILE_ERROR);
        return nullptr;
    }
    if (!source) {
        CgRuntime::raiseError(CG_INVALID_PARAMETER_ERROR);
        return nullptr;
    }
    const bool fragment = profile == CG_PROFILE_ARBFP1;
    auto program = std::make_unique<CgProgramImpl>();
    program->context = context;
    program->profile = profile;
    program->entry = entry ? entry : "main";
    program->source = source;
    // Compiler arguments: "-I DIR" / "-IDIR" add include directories (a source
    // given as text has no directory of its own: its includes start from the
    // current directory).
    Kestrane::CgCompiler::Options options;
    options.target = Kestrane::shaderTarget();
    for (const char** arg = args; arg && *arg; ++arg) {
        std::string a = *arg;
        if (a == "-I" && arg[1]) options.includeDirs.emplace_back(*++arg);
        else if (a.size() > 2 && a.compare(0, 2, "-I") == 0) options.includeDirs.push_back(a.substr(2));
    }
    program->compiled = Kestrane::CgCompiler::compile(
        source, fragment ? Stage::Fragment : Stage::Vertex, program->entry,
        fragment ? "cgf_" : "cgv_", options);
    if (!program->compiled.ok) {
        CgRuntime::raiseError(CG_COMPILER_ERROR, context, program->compiled.listing);
        return nullptr;
    }
    context->lastListing.clear();
    // A program's parameters are the uniforms its entry uses: both programs of
    // one source see every global, but each declares only what it reads.
    for (const auto& uniform : program->compiled.uniforms) {
        if (!uniform.referenced) {
            continue;
        }
        auto parameter = std::make_unique<CgParameterImpl>();
        parameter->program = program.get();
        parameter->declaration = uniform;
        parameter->values.assign(
            static_cast<std::size_t>(parameter->components() * parameter->elements()), 0.0f);
        // GLSL ES declares no initial values: the compiler hands them over and
        // they are uploaded with the parameter's first use.
        std::copy_n(uniform.defaultValue.begin(),
                    std::min(uniform.defaultValue.size(), parameter->values.size()),
                    parameter->values.begin());
        program->parameters.push_back(std::move(parameter));
    }
    context->programs.push_back(std::move(program));
    return context->programs.back().get();
}

CGprofile cgGetProgramProfile(CGprogram program) {
    if (!program) {
        CgRuntime::raiseError(CG_INVALID_PROGRAM_HANDLE_ERROR);
        return CG_PROFILE_UNKNOWN;
    }
    return program->profile;
}

void cgGLLoadProgram(CGprogram program) {
    if (!program) {
        CgRuntime::raiseError(CG_INVALID_PROGRAM_HANDLE_ERROR);
        return;
    }
    loadProgram(*program);
}

void cgGLEnableProfile(CGprofile profile) {
    if (profile == CG_PROFILE_ARBVP1) {
        binding.vertexEnabled = true;
    } else if (profile == CG_PROFILE_ARBFP1) {
        binding.fragmentEnabled = true;
    } else {
        CgRuntime::raiseError(CG_INVALID_PROFILE_ERROR);
    }
}

void cgGLDisableProfile(CGprofile profile) {
    if (profile == CG_PROFILE_ARBVP1) {
        binding.vertexEnabled = false;
    } else if (profile == CG_PROFILE_ARBFP1) {
        binding.fragmentEnabled = false;
    } else {
        CgRuntime::raiseError(CG_INVALID_PROFILE_ERROR);
    }
}

void cgGLBindProgram(CGprogram program) {
    if (!program) {
        CgRuntime::raiseError(CG_INVALID_PROGRAM_HANDLE_ERROR);
        return;
    }
    if (!loadProgram(*program)) {
        return;
    }
    (program->isFragment() ? binding.fragment : binding.vertex) = program;
}

CGprogram cgGLGetBoundProgram(CGprofile profile) {
    if (profile == CG_PROFILE_ARBVP1) {
        return binding.vertex;
    }
    if (profile == CG_PROFILE_ARBFP1) {
        return binding.fragment;
    }
    return nullptr;
}

void cgGLPrepareDraw() {
    CgProgramImpl* vertex = binding.vertexEnabled ? binding.vertex : nullptr;
    CgProgramImpl* fragment = binding.fragmentEnabled ? binding.fragment : nullptr;
    CgContextImpl* context = vertex ? vertex->context : fragment ? fragment->context : nullptr;
    if (!context) {
        glUseProgram(0);
        return;
    }
    auto found = context->pairs.find({vertex, fragment});
    if (found == context->pairs.end()) {
        found = context->pairs.emplace(std::make_pair(vertex, fragment),
                                       linkPair(*context, vertex, fragment)).first;
    }
    CgLinkedPair& pair = found->second;
    glUseProgram(pair.program);
    if (pair.program == 0) {
        return;
    }
    const std::uint64_t vertexStamp = vertex ? vertex->stamp : 0;
    const std::uint64_t fragmentStamp = fragment ? fragment->stamp : 0;
    if (vertexStamp == pair.vertexSeen && fragmentStamp == pair.fragmentSeen) {
        return;
    }
    for (auto& slot : pair.slots) {
        if (slot.parameter->stamp != slot.uploaded) {
            CgRuntime::uploadParameter(*slot.parameter, slot.location, slot.sizeLocation);
            slot.uploaded = slot.parameter->stamp;
        }
    }
    pair.vertexSeen = vertexStamp;
    pair.fragmentSeen = fragmentStamp;
}

unsigned int cgGLGetLinkedProgram() {
    CgProgramImpl* vertex = binding.vertexEnabled ? binding.vertex : nullptr;
    CgProgramImpl* fragment = binding.fragmentEnabled ? binding.fragment : nullptr;
    CgContextImpl* context = vertex ? vertex->context : fragment ? fragment->context : nullptr;
    if (!context) {
        return 0;
    }
    const auto found = context->pairs.find({vertex, fragment});
    return found == context->pairs.end() ? 0 : found->second.program;
}
