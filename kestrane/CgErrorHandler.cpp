#include "kestrane/CgErrorHandler.h"

#include "kestrane/Context.h"
#include "kestrane/Messages.h"
#include "kestrane/cg/Cg.h"

#include <utility>

namespace Kestrane {

namespace {
std::string sourceName;  // the file being compiled; empty when none
}

CgSourceName::CgSourceName(std::string name) : previous_(std::move(sourceName))
{
    sourceName = std::move(name);
}

CgSourceName::~CgSourceName()
{
    sourceName = std::move(previous_);
}

std::string cgErrorReport()
{
    // Runtime texts are appended as plain text, never used as formats.
    std::string text;
    if (!sourceName.empty())
        text += "while compiling " + sourceName + "\n";
    text += cgGetErrorString(cgGetError());
    text += '\n';
    const CGerrorCode second = cgGetError();
    if (second != CG_NO_ERROR)
        text += cgGetErrorString(second);
    text += '\n';
    if (Context::current && Context::current->cgContext) {
        if (const char* listing = cgGetLastListing(Context::current->cgContext))
            text += listing;
    }
    text += "\n\n";
    return text;
}

void CGerror()
{
    fatal("Kestrane::CGerror", cgErrorReport());
}

}  // namespace Kestrane
