// Inside of the shader runtime layer, shared by its .cpp files only (the
// engine includes kestrane/cg/Cg.h). Holds the structures behind CGcontext,
// CGprogram and CGparameter, the linked-pair cache and the error helpers.
//
// A program keeps its compiled GLSL, its GL shader object (made by
// cgGLLoadProgram) and one parameter per declared uniform. A parameter keeps
// its value itself; every set stamps it with a new number, and each linked
// pair remembers the stamp it last uploaded per uniform, so cgGLPrepareDraw
// uploads exactly what changed since that pair was last drawn with.
#pragma once

#include "kestrane/cg/Cg.h"
#include "kestrane/cg/compiler/CgCompiler.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

struct CgProgramImpl;

struct CgParameterImpl {
    CgProgramImpl* program = nullptr;
    Kestrane::CgCompiler::Uniform declaration;
    std::vector<float> values;   // components x elements, row-major for matrices
    bool everSet = false;        // never set: nothing to upload (GL's default 0)
    std::uint64_t stamp = 0;     // changes on every set (0: never set)
    unsigned int texture = 0;    // samplers: the GL texture name
    // Samplers whose lookups need it (declaration.sizeGlslName): width,
    // height and depth of the texture's level 0, read when it is bound.
    float textureSize[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    bool textureEnabled = false;
    int unit = -1;               // samplers: texture unit while enabled

    int components() const {
        return declaration.isMatrix() ? declaration.rows * declaration.columns
                                      : declaration.columns;
    }
    int elements() const { return declaration.arraySize > 0 ? declaration.arraySize : 1; }
};

struct CgProgramImpl {
    CgContextImpl* context = nullptr;
    CGprofile profile = CG_PROFILE_UNKNOWN;
    std::string entry;
    std::string source;
    Kestrane::CgCompiler::Result compiled;
    std::vector<std::unique_ptr<CgParameterImpl>> parameters;
    unsigned int shader = 0;       // GL shader object, made on load
    std::uint64_t stamp = 0;       // newest stamp of any of its parameters

    bool isFragment() const { return profile == CG_PROFILE_ARBFP1; }
};

// One GLSL program per (vertex, fragment) pair; either may be null when its
// profile is disabled.
struct CgLinkedPair {
    struct Slot {
        CgParameterImpl* parameter = nullptr;
        int location = -1;
        int sizeLocation = -1;       // samplers: the hidden texture-size uniform
        std::uint64_t uploaded = 0;  // stamp of the value the program holds
    };
    unsigned int program = 0;
    std::vector<Slot> slots;           // only uniforms the driver kept
    std::uint64_t vertexSeen = 0;      // program stamps at the last upload
    std::uint64_t fragmentSeen = 0;
};

struct CgContextImpl {
    std::string lastListing;  // empty: none
    std::vector<std::unique_ptr<CgProgramImpl>> programs;
    std::map<std::pair<CgProgramImpl*, CgProgramImpl*>, CgLinkedPair> pairs;
};

namespace CgRuntime {

// The context made last by cgCreateContext (the engine makes one), or null.
CgContextImpl* currentContext();

// Records code as pending and calls the installed handler inside the caller.
// When the handler returns (or none is installed) the caller goes on and
// returns a null or unchanged result.
void raiseError(CGerrorCode code);
// Same, after storing listing as the context's last listing.
void raiseError(CGerrorCode code, CgContextImpl* context, std::string listing);

// A fresh, ever-increasing stamp for a parameter set.
std::uint64_t nextStamp();

// Uploads one parameter's value to uniform location of the program in use
// (a sampler: its unit, and its texture's size to sizeLocation when >= 0).
void uploadParameter(const CgParameterImpl& parameter, int location, int sizeLocation = -1);

}  // namespace CgRuntime
