// Messages in the browser: standard error (the console) and, from
// enableMessageBoxes on, the page's message line. A fatal error also ends the
// program: the page shows its text and the exit status.
#include "kestrane/Messages.h"

#include <emscripten.h>

#include <cstdio>
#include <cstdlib>

extern "C" void kestrane_page_message(const char* title, const char* text, int fatal);

namespace Kestrane {

void showMessage(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    if (messageBoxesEnabled())
        kestrane_page_message(title.c_str(), text.c_str(), 0);
}

void fatal(const std::string& title, const std::string& text)
{
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    // Fatal errors always reach the page: nothing else would tell the viewer
    // why the picture stopped.
    kestrane_page_message(title.c_str(), text.c_str(), 1);
    emscripten_force_exit(1);
    std::abort();  // not reached
}

}  // namespace Kestrane
