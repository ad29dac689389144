// Shader runtime layer: the Cg-style calls the engine makes, implemented over
// GLSL 1.20 on a compatibility context.
//
// Use, in order:
//   cgCreateContext()                 one context; every program belongs to it.
//   cgSetErrorCallback(handler)       handler runs inside the failing call, on
//                                     every error (compile errors included).
//   cgCreateProgram(ctx, CG_SOURCE, text, profile, entry, nullptr)
//                                     compiles one stage (vertex: CG_PROFILE_ARBVP1,
//                                     fragment: CG_PROFILE_ARBFP1); null on error.
//   cgGLLoadProgram(p)                makes it ready for GL.
//   cgGLEnableProfile(profile), cgGLBindProgram(p)
//                                     following drawing uses p for its stage; the
//                                     bound vertex/fragment pair is linked on demand.
//   cgGetNamedParameter(p, name)      null when p declares no such name.
//   cgSetParameter1f / 4fv, cgSetMatrixParameterfr (row-major),
//   cgGLSetTextureParameter / cgGLEnableTextureParameter / cgGLDisableTextureParameter
//                                     values belong to the program and persist.
//   cgGetError, cgGetErrorString, cgGetLastListing
//                                     read by the error handler.
// Contexts, programs and parameters live until process exit.
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
void cgGLBindProgram(CGprogram program);

// Parameters.
CGparameter cgGetNamedParameter(CGprogram program, const char* name);
void cgSetParameter1f(CGparameter param, float x);
void cgSetParameter4fv(CGparameter param, const float* v);
void cgSetMatrixParameterfr(CGparameter param, const float* rowMajor16);
void cgGLSetTextureParameter(CGparameter param, unsigned int texture);
void cgGLEnableTextureParameter(CGparameter param);
void cgGLDisableTextureParameter(CGparameter param);
