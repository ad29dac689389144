// Shader runtime layer: the Cg-style calls the engine makes, implemented over
// GLSL 1.20 on a compatibility context.
//
// Use, in order:
//   cgCreateContext()                 one context; every program belongs to it.
//   cgSetErrorCallback(handler)       handler runs inside the failing call, on
//                                     every error (compile errors included).
//   cgCreateProgram(ctx, CG_SOURCE, text, profile, entry, args)
//                                     compiles one stage (vertex: CG_PROFILE_ARBVP1,
//                                     fragment: CG_PROFILE_ARBFP1); null on error.
//                                     args: null, or a null-terminated list where
//                                     "-I", DIR (or "-IDIR") adds an #include directory.
//   cgGLLoadProgram(p)                makes it ready for GL.
//   cgGLEnableProfile(profile), cgGLBindProgram(p)
//                                     following drawing uses p for its stage; the
//                                     bound vertex/fragment pair is linked on demand.
//   cgGLPrepareDraw()                 THE DRAW-TIME HOOK: every path that draws
//                                     (Kestrane::begin before glBegin, each
//                                     glDrawElements/glDrawArrays) calls it first.
//                                     It links the enabled bound pair on first use
//                                     (one GLSL program per pair, cached), makes it
//                                     current with glUseProgram and uploads the
//                                     parameter values set since that pair last
//                                     drew. Binding and setting only record, so
//                                     binding a vertex program and then a fragment
//                                     program never links the in-between pair.
//   cgGetNamedParameter(p, name)      null when p declares no such name; a
//                                     program declares the uniforms its entry uses
//                                     (globals and uniform entry parameters), so a
//                                     global read only by the vertex entry is not a
//                                     parameter of the fragment program. A uniform
//                                     struct has one parameter per member ("IN.size"),
//                                     an array of structs one per member of each
//                                     element ("lights[1].color").
//   cgSetParameter1f / 4fv, cgSetMatrixParameterfr (row-major),
//   cgGLSetTextureParameter / cgGLEnableTextureParameter / cgGLDisableTextureParameter
//                                     values belong to the program and persist. A
//                                     sampler whose lookups work in texels (offsets,
//                                     fetches, size queries) also hands its bound
//                                     texture's level-0 size to the program.
//   cgGetError, cgGetErrorString, cgGetLastListing
//                                     read by the error handler.
// Contexts, programs and parameters live until process exit.
//
// GL conventions: enabled samplers get units 1 and up (unit 0 is left to the
// engine's texture loading) and the active texture unit is left at unit 0;
// generic vertex inputs (ATTRn, TANGENT 14, BINORMAL 15) are bound to their
// attribute indices before linking. A driver compile error (at load:
// CG_COMPILER_ERROR, the driver's log mapped back to Cg lines) or link error
// (at the first draw of a pair: CG_LINKER_ERROR, reported once; the pair then
// draws with no program) comes with a listing. With a profile disabled, its
// stage is left to fixed-function GL; with both disabled no program is used.
#pragma once

typedef struct CgContextImpl* CGcontext;
typedef struct CgProgramImpl* CGprogram;
typedef struct CgParameterImpl* CGparameter;

enum CGprofile {
    CG_PROFILE_UNKNOWN = 6145,
    CG_PROFILE_ARBVP1 = 6150,
    CG_PROFILE_ARBFP1 = 7000,
};

enum CGenum {
    CG_SOURCE = 4112,
};

enum CGerrorCode {
    CG_NO_ERROR = 0,
    CG_COMPILER_ERROR = 1,
    CG_INVALID_PARAMETER_ERROR = 2,
    CG_INVALID_PROFILE_ERROR = 3,
    CG_INVALID_VALUE_TYPE_ERROR = 8,
    CG_INVALID_CONTEXT_HANDLE_ERROR = 16,
    CG_INVALID_PROGRAM_HANDLE_ERROR = 17,
    CG_INVALID_PARAM_HANDLE_ERROR = 18,
    CG_UNKNOWN_PROFILE_ERROR = 19,
    CG_INVALID_ENUMERANT_ERROR = 24,
    CG_PROGRAM_LOAD_ERROR = 30,
    CG_LINKER_ERROR = 36,
    // This runtime's own: every texture unit already serves an enabled sampler.
    CG_TEXTURE_UNITS_EXHAUSTED_ERROR = 1000,
};

typedef void (*CGerrorCallbackFunc)();

// Context and errors.
CGcontext cgCreateContext();
void cgSetErrorCallback(CGerrorCallbackFunc func);
CGerrorCallbackFunc cgGetErrorCallback();
CGerrorCode cgGetError();                       // pending code, then 0
const char* cgGetErrorString(CGerrorCode code); // never null
const char* cgGetLastListing(CGcontext context);// null when there is none

// Programs.
CGprogram cgCreateProgram(CGcontext context, CGenum programType, const char* source,
                          CGprofile profile, const char* entry, const char** args);
void cgGLLoadProgram(CGprogram program);
void cgGLEnableProfile(CGprofile profile);
void cgGLDisableProfile(CGprofile profile);
void cgGLBindProgram(CGprogram program);       // loads p first if it was not
CGprofile cgGetProgramProfile(CGprogram program);
CGprogram cgGLGetBoundProgram(CGprofile profile);  // null when none was bound

// Draw-time hook (see above). Cheap when nothing changed: one glUseProgram.
void cgGLPrepareDraw();
// The GLSL program of the enabled bound pair, 0 before its first draw.
unsigned int cgGLGetLinkedProgram();

// Parameters.
CGparameter cgGetNamedParameter(CGprogram program, const char* name);
// Setters store the value in the parameter (uploaded at the next draw of a
// pair holding its program). 1f/4fv write the leading components of a scalar
// or vector (of element 0 for an array); the matrix setter takes rows x
// columns floats row-major. A null handle, or a setter that does not fit the
// parameter's type (a matrix setter on a vector, a texture call on a
// non-sampler), raises an error.
void cgSetParameter1f(CGparameter param, float x);
void cgSetParameter4fv(CGparameter param, const float* v);
void cgSetMatrixParameterfr(CGparameter param, const float* rowMajor16);
void cgGLSetTextureParameter(CGparameter param, unsigned int texture);
void cgGLEnableTextureParameter(CGparameter param);
void cgGLDisableTextureParameter(CGparameter param);

// Inspection, for tests and tools.
const char* cgGetParameterName(CGparameter param);
// Copies up to count floats of the stored value (row-major for matrices).
void cgGetParameterValuefr(CGparameter param, int count, float* out);
unsigned int cgGLGetTextureParameter(CGparameter param);
// GL_TEXTURE0 + the sampler's unit while it is enabled, else 0.
unsigned int cgGLGetTextureEnum(CGparameter param);
