// Services of the platform layer that differ between the desktop (SDL,
// kestrane/sdl/) and the browser (Emscripten, kestrane/web/), besides the
// window, context, keyboard, display mode and messages, which have headers of
// their own. Code above the engine calls these and never asks which target
// it runs on.
//
//   workerThreads()        threads that loading may start beside the main one:
//                          one per core on the desktop, 0 in the browser
//                          (work is then done on the calling thread).
//   releaseFreedMemory()   hands memory freed by loading back to the system
//                          where the allocator can.
//   fileWritten(path)      a file the user asked for (a screenshot) was
//                          written at path: the browser offers it as a
//                          download; the desktop has it on disk already.
#pragma once

#include <string>

namespace Kestrane {

unsigned workerThreads();
void releaseFreedMemory();
void fileWritten(const std::string& path);

}  // namespace Kestrane
