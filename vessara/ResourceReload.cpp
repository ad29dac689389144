// Live reload of the caches' objects (the maker's mode): each reload reads
// its file again and changes the cached object itself, never the pointer in
// the cache, so scenes that looked a resource up once see the new one. A file
// that cannot be read, decoded or compiled changes nothing and says why.
#include "kestrane/GL.h"

#include "vessara/ResourceProxies.h"

#include "kestrane/CgErrorHandler.h"
#include "kestrane/Shader.h"
#include "kestrane/Texture.h"
#include "kestrane/cg/compiler/CgCompiler.h"
#include "kestrane_ext/FormatError.h"
#include "kestrane_ext/StreamTypes.h"
#include "kestrane_ext/VXMLoader.h"
#include "vessara/ImageDecodeQueue.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace Vessara {

namespace {

bool knownFile(const std::map<std::string, std::string>& files, const std::string& name, std::string& path,
               std::string& error)
{
    auto found = files.find(name);
    if (found == files.end()) {
        error = name + ": not a cached file";
        return false;
    }
    path = found->second;
    return true;
}

bool readBytes(const std::string& path, std::string& bytes, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": error: cannot open the file";
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The compiler's errors as vessara-cgc prints them: FILE:LINE:COLUMN: error: message.
std::string compileErrors(const std::string& path, const Kestrane::CgCompiler::Result& result)
{
    std::string text;
    for (const Kestrane::CgCompiler::Diagnostic& d : result.errors) {
        const std::string& file = d.file.empty() ? path : d.file;
        if (!text.empty())
            text += "\n";
        if (d.line <= 0)
            text += file + ": error: " + d.message;
        else
            text += file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ": error: " + d.message;
    }
    return text.empty() ? path + ": error: the program does not compile" : text;
}

// Values persist in a program until set again; a scene may have set some
// once (at start-up) and rely on them, so they go over to the new program.
// Samplers are bound at every draw and the State matrices at every upload.
void carryParameters(CGprogram from, CGprogram to, const Kestrane::CgCompiler::Result& declared)
{
    for (const Kestrane::CgCompiler::Uniform& uniform : declared.uniforms) {
        if (!uniform.referenced || uniform.isSampler() || uniform.arraySize > 0 ||
            uniform.cgName.rfind("State", 0) == 0)
            continue;
        CGparameter source = cgGetNamedParameter(from, uniform.cgName.c_str());
        CGparameter target = cgGetNamedParameter(to, uniform.cgName.c_str());
        if (!source || !target)
            continue;
        float values[16] = {};
        if (uniform.isMatrix()) {
            cgGetParameterValuefr(source, uniform.rows * uniform.columns, values);
            cgSetMatrixParameterfr(target, values);
        } else if (uniform.columns <= 4) {
            cgGetParameterValuefr(source, uniform.columns, values);
            cgSetParameter4fv(target, values);
        }
    }
}

std::string glLog(GLuint object, bool program)
{
    GLint length = 0;
    (program ? glGetProgramiv : glGetShaderiv)(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(std::size_t(std::max(length, 1)), '\0');
    if (length > 0)
        (program ? glGetProgramInfoLog : glGetShaderInfoLog)(object, length, nullptr, log.data());
    log.resize(std::string(log.c_str()).size());
    return log;
}

// The GL driver's verdict on the translated pair, asked before the runtime
// gets the source: a program the driver refuses to compile or link would end
// the show there, or at its first draw.
bool driverAccepts(const std::string& path, const Kestrane::CgCompiler::Result& vertex,
                   const Kestrane::CgCompiler::Result& fragment, std::string& error)
{
    GLuint shaders[2] = {glCreateShader(GL_VERTEX_SHADER), glCreateShader(GL_FRAGMENT_SHADER)};
    const Kestrane::CgCompiler::Result* results[2] = {&vertex, &fragment};
    const GLuint program = glCreateProgram();
    for (int i = 0; i < 2 && error.empty(); ++i) {
        const char* text = results[i]->glsl.c_str();
        glShaderSource(shaders[i], 1, &text, nullptr);
        glCompileShader(shaders[i]);
        GLint ok = GL_FALSE;
        glGetShaderiv(shaders[i], GL_COMPILE_STATUS, &ok);
        if (ok != GL_TRUE)
            error = path + ": error: the GL driver refuses the " + (i ? "fragment" : "vertex") +
                    " program: " + results[i]->mapDriverLog(glLog(shaders[i], false));
        glAttachShader(program, shaders[i]);
    }
    if (error.empty()) {
        for (const Kestrane::CgCompiler::AttributeBinding& attribute : vertex.attributes)
            glBindAttribLocation(program, GLuint(attribute.location), attribute.glslName.c_str());
        glLinkProgram(program);
        GLint ok = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (ok != GL_TRUE)
            error = path + ": error: the GL driver cannot link the vertex and fragment programs: " +
                    glLog(program, true);
    }
    glDeleteProgram(program);
    glDeleteShader(shaders[0]);
    glDeleteShader(shaders[1]);
    return error.empty();
}

}  // namespace

bool TextureResourceProxy::reload(const std::string& name, std::string& error)
{
    std::string path;
    if (!knownFile(files, name, path, error))
        return false;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    DecodedImage image;
    if (!decodeImageFile(path, maxSize, image, error))
        return false;
    (*this)[name]->replaceImage(image.width, image.height, image.format, image.levels);
    return true;
}

bool CompleteShaderResourceProxy::reload(const std::string& name, std::string& error)
{
    using namespace Kestrane::CgCompiler;
    std::string path, source;
    if (!knownFile(files, name, path, error) || !readBytes(path, source, error))
        return false;

    // The runtime's compile errors are fatal, so the source is compiled here
    // first, as the runtime compiles it (as text: includes from the current
    // directory): only one that compiles for both stages reaches the runtime.
    const Options options;
    const Result vertex = compile(source, Stage::Vertex, "vsMain", "vp_", options);
    if (!vertex.ok) {
        error = compileErrors(path, vertex);
        return false;
    }
    const Result fragment = compile(source, Stage::Fragment, "psMain", "fp_", options);
    if (!fragment.ok) {
        error = compileErrors(path, fragment);
        return false;
    }

    if (!driverAccepts(path, vertex, fragment, error))
        return false;

    Kestrane::CompleteShader* shader = (*this)[name];
    Kestrane::CgSourceName naming(path);
    Kestrane::CompleteShader fresh(source.c_str(), "vsMain", "psMain");
    carryParameters(shader->vertex->program, fresh.vertex->program, vertex);
    carryParameters(shader->pixel->program, fresh.pixel->program, fragment);
    std::swap(shader->vertex, fresh.vertex);
    std::swap(shader->pixel, fresh.pixel);
    // The old programs stay in the runtime (programs live until process
    // exit); only their wrappers go with `fresh`.
    return true;
}

bool VXMResourceProxy::reload(const std::string& name, std::string& error)
{
    std::string path, bytes;
    if (!knownFile(files, name, path, error) || !readBytes(path, bytes, error))
        return false;
    try {
        // The old meshes are kept alive (in the loader made here, never
        // freed): a drawable may hold a pointer to one of them.
        auto* fresh = new KestraneExt::VXMLoader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                                                 path, KestraneExt::BufferUsage::StaticDraw,
                                                 KestraneExt::BufferUsage::StaticDraw);
        std::swap(*(*this)[name], *fresh);
    } catch (const std::exception& failure) {
        error = failure.what();
        return false;
    }
    return true;
}

}  // namespace Vessara
