// Parameters of the runtime: look-up by declared name, values kept per
// program (uploaded by cgGLPrepareDraw), and texture units for samplers.
#include "kestrane/cg/CgRuntime.h"

#include "kestrane/GL.h"
#include "kestrane/GLDialect.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using Kestrane::CgCompiler::BaseType;

std::uint64_t stampCounter = 0;

// Units handed to enabled samplers. Unit 0 is never handed out: the rest of
// the engine binds textures for loading on the active unit, which the
// runtime always leaves at unit 0, so those binds cannot disturb a sampler.
std::vector<bool>& unitsInUse() {
    static std::vector<bool> units;
    if (units.empty()) {
        GLint count = 0;
        glGetIntegerv(GL_MAX_TEXTURE_IMAGE_UNITS, &count);
        units.assign(static_cast<std::size_t>(std::max(count, 2)), false);
        units[0] = true;
    }
    return units;
}

GLenum textureTarget(BaseType base) {
    switch (base) {
    case BaseType::Sampler1D: return GL_TEXTURE_1D;
    case BaseType::Sampler3D: return GL_TEXTURE_3D;
    case BaseType::SamplerCube: return GL_TEXTURE_CUBE_MAP;
    case BaseType::SamplerRect: return GL_TEXTURE_RECTANGLE;
    default: return GL_TEXTURE_2D;
    }
}

void markSet(CgParameterImpl& parameter) {
    parameter.everSet = true;
    parameter.stamp = CgRuntime::nextStamp();
    parameter.program->stamp = parameter.stamp;
}

// Reads the size of level 0 of the texture bound to target on the active
// unit, for the lookups that work in texels; a change is uploaded.
void readTextureSize(CgParameterImpl& parameter, GLenum target) {
    const GLenum face = target == GL_TEXTURE_CUBE_MAP ? GL_TEXTURE_CUBE_MAP_POSITIVE_X : target;
    int size[3] = {0, 0, 0};
    Kestrane::boundTextureSize(face, size);
    bool changed = false;
    for (int k = 0; k < 3; ++k) {
        const float value = static_cast<float>(std::max(size[k], 1));
        changed = changed || parameter.textureSize[k] != value;
        parameter.textureSize[k] = value;
    }
    if (changed) {
        markSet(parameter);
    }
}

void bindOnUnit(CgParameterImpl& parameter, unsigned int texture) {
    const GLenum target = textureTarget(parameter.declaration.base);
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(parameter.unit));
    glBindTexture(target, texture);
    if (texture != 0 && !parameter.declaration.sizeGlslName.empty()) {
        readTextureSize(parameter, target);
    }
    glActiveTexture(GL_TEXTURE0);
}

// Checks the handle and that the parameter is a numeric (non-sampler) one.
bool numeric(CGparameter parameter) {
    if (!parameter) {
        CgRuntime::raiseError(CG_INVALID_PARAM_HANDLE_ERROR);
        return false;
    }
    if (parameter->declaration.isSampler()) {
        CgRuntime::raiseError(CG_INVALID_VALUE_TYPE_ERROR);
        return false;
    }
    return true;
}

bool sampler(CGparameter parameter) {
    if (!parameter) {
        CgRuntime::raiseError(CG_INVALID_PARAM_HANDLE_ERROR);
        return false;
    }
    if (!parameter->declaration.isSampler()) {
        CgRuntime::raiseError(CG_INVALID_VALUE_TYPE_ERROR);
        return false;
    }
    return true;
}

// Writes count leading components of element 0 (a vector or scalar).
void setVector(CGparameter parameter, const float* values, int count) {
    if (!numeric(parameter)) {
        return;
    }
    if (parameter->declaration.isMatrix()) {
        CgRuntime::raiseError(CG_INVALID_VALUE_TYPE_ERROR);
        return;
    }
    const int n = std::min(count, parameter->components());
    std::copy(values, values + n, parameter->values.begin());
    markSet(*parameter);
}

template <typename Int>
std::vector<Int> asIntegers(const std::vector<float>& values) {
    std::vector<Int> result(values.size());
    std::transform(values.begin(), values.end(), result.begin(),
                   [](float v) { return static_cast<Int>(v); });
    return result;
}

}  // namespace

namespace CgRuntime {

std::uint64_t nextStamp() { return ++stampCounter; }

void uploadParameter(const CgParameterImpl& parameter, int location, int sizeLocation) {
    const auto& declaration = parameter.declaration;
    const GLsizei count = parameter.elements();
    const float* values = parameter.values.data();
    if (declaration.isSampler()) {
        if (parameter.unit >= 0 && location >= 0) {
            glUniform1i(location, parameter.unit);
        }
        if (sizeLocation >= 0) {
            glUniform4fv(sizeLocation, 1, parameter.textureSize);
        }
        return;
    }
    if (declaration.isMatrix()) {
        // Values are row-major: transpose on upload gives the same matrix.
        const int rows = declaration.rows;
        const int columns = declaration.columns;
        if (rows == 2 && columns == 2) glUniformMatrix2fv(location, count, GL_TRUE, values);
        else if (rows == 3 && columns == 3) glUniformMatrix3fv(location, count, GL_TRUE, values);
        else if (rows == 4 && columns == 4) glUniformMatrix4fv(location, count, GL_TRUE, values);
        // GLSL matCxR has C columns and R rows: Cg floatRxC.
        else if (rows == 3 && columns == 2) glUniformMatrix2x3fv(location, count, GL_TRUE, values);
        else if (rows == 4 && columns == 2) glUniformMatrix2x4fv(location, count, GL_TRUE, values);
        else if (rows == 2 && columns == 3) glUniformMatrix3x2fv(location, count, GL_TRUE, values);
        else if (rows == 4 && columns == 3) glUniformMatrix3x4fv(location, count, GL_TRUE, values);
        else if (rows == 2 && columns == 4) glUniformMatrix4x2fv(location, count, GL_TRUE, values);
        else if (rows == 3 && columns == 4) glUniformMatrix4x3fv(location, count, GL_TRUE, values);
        return;
    }
    const int size = declaration.columns;
    if (declaration.base == BaseType::Float) {
        switch (size) {
        case 1: glUniform1fv(location, count, values); break;
        case 2: glUniform2fv(location, count, values); break;
        case 3: glUniform3fv(location, count, values); break;
        case 4: glUniform4fv(location, count, values); break;
        default: break;
        }
        return;
    }
    // int and bool vectors both take integer uploads.
    const std::vector<GLint> integers = asIntegers<GLint>(parameter.values);
    switch (size) {
    case 1: glUniform1iv(location, count, integers.data()); break;
    case 2: glUniform2iv(location, count, integers.data()); break;
    case 3: glUniform3iv(location, count, integers.data()); break;
    case 4: glUniform4iv(location, count, integers.data()); break;
    default: break;
    }
}

}  // namespace CgRuntime

CGparameter cgGetNamedParameter(CGprogram program, const char* name) {
    if (!program) {
        CgRuntime::raiseError(CG_INVALID_PROGRAM_HANDLE_ERROR);
        return nullptr;
    }
    if (!name) {
        return nullptr;
    }
    for (const auto& parameter : program->parameters) {
        if (parameter->declaration.cgName == name) {
            return parameter.get();
        }
    }
    return nullptr;
}

const char* cgGetParameterName(CGparameter parameter) {
    if (!parameter) {
        CgRuntime::raiseError(CG_INVALID_PARAM_HANDLE_ERROR);
        return nullptr;
    }
    return parameter->declaration.cgName.c_str();
}

void cgSetParameter1f(CGparameter parameter, float x) { setVector(parameter, &x, 1); }

void cgSetParameter4fv(CGparameter parameter, const float* v) {
    if (!v) {
        CgRuntime::raiseError(CG_INVALID_PARAMETER_ERROR);
        return;
    }
    setVector(parameter, v, 4);
}

void cgGetParameterValuefr(CGparameter parameter, int count, float* out) {
    if (!parameter) {
        CgRuntime::raiseError(CG_INVALID_PARAM_HANDLE_ERROR);
        return;
    }
    if (!out || count < 0) {
        CgRuntime::raiseError(CG_INVALID_PARAMETER_ERROR);
        return;
    }
    const std::size_t n = std::min(static_cast<std::size_t>(count), parameter->values.size());
    std::copy_n(parameter->values.begin(), n, out);
}

void cgSetMatrixParameterfr(CGparameter parameter, const float* rowMajor) {
    if (!numeric(parameter)) {
        return;
    }
    if (!parameter->declaration.isMatrix()) {
        CgRuntime::raiseError(CG_INVALID_VALUE_TYPE_ERROR);
        return;
    }
    if (!rowMajor) {
        CgRuntime::raiseError(CG_INVALID_PARAMETER_ERROR);
        return;
    }
    std::copy_n(rowMajor, parameter->components(), parameter->values.begin());
    markSet(*parameter);
}

void cgGLSetTextureParameter(CGparameter parameter, unsigned int texture) {
    if (!sampler(parameter)) {
        return;
    }
    parameter->texture = texture;
    if (parameter->textureEnabled) {
        bindOnUnit(*parameter, texture);
    }
}

unsigned int cgGLGetTextureParameter(CGparameter parameter) {
    if (!sampler(parameter)) {
        return 0;
    }
    return parameter->texture;
}

void cgGLEnableTextureParameter(CGparameter parameter) {
    if (!sampler(parameter)) {
        return;
    }
    if (!parameter->textureEnabled) {
        auto& units = unitsInUse();
        const auto freeUnit = std::find(units.begin(), units.end(), false);
        if (freeUnit == units.end()) {
            CgRuntime::raiseError(
                CG_TEXTURE_UNITS_EXHAUSTED_ERROR, parameter->program->context,
                "Sampler \"" + parameter->declaration.cgName + "\" of program \"" +
                    parameter->program->entry + "\": all " + std::to_string(units.size() - 1) +
                    " texture units serve enabled samplers; disable the samplers of a shader "
                    "before binding another.\n");
            return;
        }
        *freeUnit = true;
        const int unit = static_cast<int>(freeUnit - units.begin());
        parameter->textureEnabled = true;
        if (parameter->unit != unit) {
            parameter->unit = unit;
            markSet(*parameter);
        }
    }
    bindOnUnit(*parameter, parameter->texture);
}

void cgGLDisableTextureParameter(CGparameter parameter) {
    if (!sampler(parameter)) {
        return;
    }
    if (!parameter->textureEnabled) {
        return;
    }
    bindOnUnit(*parameter, 0);
    unitsInUse()[static_cast<std::size_t>(parameter->unit)] = false;
    parameter->textureEnabled = false;
}

unsigned int cgGLGetTextureEnum(CGparameter parameter) {
    if (!sampler(parameter)) {
        return 0;
    }
    return parameter->textureEnabled ? GL_TEXTURE0 + static_cast<unsigned int>(parameter->unit)
                                     : 0;
}
