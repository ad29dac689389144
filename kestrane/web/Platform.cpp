// Browser platform services (kestrane/Platform.h). The page runs one thread
// (no cross-origin isolation is needed to serve it), and WebAssembly memory
// only grows, so freed memory stays with the program's allocator.
#include "kestrane/Platform.h"

extern "C" void kestrane_offer_download(const char* path);

namespace Kestrane {

unsigned workerThreads() { return 0; }

void releaseFreedMemory() {}

void fileWritten(const std::string& path) { kestrane_offer_download(path.c_str()); }

}  // namespace Kestrane
