// The runtime's context and error half: the one context, the error handler
// that runs inside the failing call, the pending error code and the listing
// of the last compilation or link.
#include "kestrane/cg/CgRuntime.h"

#include <memory>
#include <vector>

namespace {

CGerrorCallbackFunc errorCallback = nullptr;
CGerrorCode pendingError = CG_NO_ERROR;

// Contexts live until process exit; the list only keeps them reachable.
std::vector<std::unique_ptr<CgContextImpl>>& contexts() {
    static std::vector<std::unique_ptr<CgContextImpl>> list;
    return list;
}

}  // namespace

namespace CgRuntime {

CgContextImpl* currentContext() {
    return contexts().empty() ? nullptr : contexts().back().get();
}

void raiseError(CGerrorCode code) {
    pendingError = code;
    if (errorCallback) {
        errorCallback();
    }
}

void raiseError(CGerrorCode code, CgContextImpl* context, std::string listing) {
    if (context) {
        context->lastListing = std::move(listing);
    }
    raiseError(code);
}

}  // namespace CgRuntime

CGcontext cgCreateContext() {
    contexts().push_back(std::make_unique<CgContextImpl>());
    return contexts().back().get();
}

void cgSetErrorCallback(CGerrorCallbackFunc func) { errorCallback = func; }

CGerrorCallbackFunc cgGetErrorCallback() { return errorCallback; }

CGerrorCode cgGetError() {
    const CGerrorCode code = pendingError;
    pendingError = CG_NO_ERROR;
    return code;
}

const char* cgGetErrorString(CGerrorCode code) {
    switch (code) {
    case CG_NO_ERROR: return "CG ERROR : No error has occurred.";
    case CG_COMPILER_ERROR: return "CG ERROR : The compile returned an error.";
    case CG_INVALID_PARAMETER_ERROR: return "CG ERROR : The parameter used is invalid.";
    case CG_INVALID_PROFILE_ERROR: return "CG ERROR : The profile is not supported.";
    case CG_INVALID_VALUE_TYPE_ERROR: return "CG ERROR : The value type of the parameter does not fit the call.";
    case CG_INVALID_CONTEXT_HANDLE_ERROR: return "CG ERROR : Invalid context handle.";
    case CG_INVALID_PROGRAM_HANDLE_ERROR: return "CG ERROR : Invalid program handle.";
    case CG_INVALID_PARAM_HANDLE_ERROR: return "CG ERROR : Invalid parameter handle.";
    case CG_UNKNOWN_PROFILE_ERROR: return "CG ERROR : The specified profile is unknown.";
    case CG_INVALID_ENUMERANT_ERROR: return "CG ERROR : Invalid enumerant parameter.";
    case CG_PROGRAM_LOAD_ERROR: return "CG ERROR : The program could not be loaded.";
    case CG_LINKER_ERROR: return "CG ERROR : The vertex and fragment programs could not be linked.";
    case CG_TEXTURE_UNITS_EXHAUSTED_ERROR: return "CG ERROR : No free texture unit is left for the sampler.";
    }
    return "CG ERROR : Unknown error.";
}

const char* cgGetLastListing(CGcontext context) {
    if (!context || context->lastListing.empty()) {
        return nullptr;
    }
    return context->lastListing.c_str();
}
