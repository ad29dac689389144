#include "kestrane/Messages.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

namespace Kestrane {

void showMessage(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (messageBoxesEnabled())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title.c_str(), text.c_str(), nullptr);
}

void fatal(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (messageBoxesEnabled())
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
    std::exit(EXIT_FAILURE);
}

}  // namespace Kestrane
