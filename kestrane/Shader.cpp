#include "kestrane/Shader.h"

#include "kestrane/Context.h"
#include "kestrane/State.h"
#include "kestrane/Texture.h"

namespace Kestrane {

namespace {

// The operations below take (profile, program) so that the vertex and pixel
// wrappers, which share no base, share one implementation.
CGprogram compileProgram(const char* source, const char* entry, int profile) {
    CGcontext context = Context::current ? Context::current->cgContext : nullptr;
    CGprogram program = cgCreateProgram(context, CG_SOURCE, source,
                                        static_cast<CGprofile>(profile), entry, nullptr);
    if (program) {
        cgGLLoadProgram(program);
    }
    return program;
}

bool isFragment(int profile) { return profile == CG_PROFILE_ARBFP1; }

void bindProgram(int profile, CGprogram program) {
    cgGLEnableProfile(static_cast<CGprofile>(profile));
    cgGLBindProgram(program);
}

void setFloat(CGprogram program, const char* name, float value) {
    if (CGparameter parameter = cgGetNamedParameter(program, name)) {
        cgSetParameter1f(parameter, value);
    }
}

void setFloat4(CGprogram program, const char* name, const float* values) {
    if (CGparameter parameter = cgGetNamedParameter(program, name)) {
        cgSetParameter4fv(parameter, values);
    }
}

void setTexture(int profile, CGprogram program, const char* name, unsigned int glTexture) {
    if (!isFragment(profile)) {
        return;
    }
    if (CGparameter parameter = cgGetNamedParameter(program, name)) {
        cgGLSetTextureParameter(parameter, glTexture);
        cgGLEnableTextureParameter(parameter);
    }
}

void disableTexture(int profile, CGprogram program, const char* name) {
    if (!isFragment(profile)) {
        return;
    }
    if (CGparameter parameter = cgGetNamedParameter(program, name)) {
        cgGLDisableTextureParameter(parameter);
    }
}

}  // namespace

VertexShader::VertexShader(const char* source, const char* entry, int profile)
    : profile(profile), program(compileProgram(source, entry, profile)) {}

void VertexShader::uploadState() { State::uploadMatrices(program); }

PixelShader::PixelShader(const char* source, const char* entry, int profile)
    : profile(profile), program(compileProgram(source, entry, profile)) {}

void PixelShader::uploadState() { State::uploadMatrices(program); }

CompleteShader::CompleteShader(const char* source, const char* vertexEntry,
                               const char* pixelEntry)
    : vertex(std::make_unique<VertexShader>(source, vertexEntry, CG_PROFILE_ARBVP1)),
      pixel(std::make_unique<PixelShader>(source, pixelEntry, CG_PROFILE_ARBFP1)) {}

void CompleteShader::bind() {
    bindProgram(vertex->profile, vertex->program);
    bindProgram(pixel->profile, pixel->program);
}

void CompleteShader::setFloat(const char* name, float value) {
    Kestrane::setFloat(vertex->program, name, value);
    Kestrane::setFloat(pixel->program, name, value);
}

void CompleteShader::setFloat4(const char* name, const float* values) {
    Kestrane::setFloat4(vertex->program, name, values);
    Kestrane::setFloat4(pixel->program, name, values);
}

void CompleteShader::setTexture(const char* name, const Texture& texture) {
    setTexture(name, texture.id());
}

void CompleteShader::setTexture(const char* name, unsigned int glTexture) {
    Kestrane::setTexture(vertex->profile, vertex->program, name, glTexture);
    Kestrane::setTexture(pixel->profile, pixel->program, name, glTexture);
}

void CompleteShader::disableTexture(const char* name) {
    Kestrane::disableTexture(vertex->profile, vertex->program, name);
    Kestrane::disableTexture(pixel->profile, pixel->program, name);
}

void CompleteShader::uploadState() {
    vertex->uploadState();
    pixel->uploadState();
}

}  // namespace Kestrane
