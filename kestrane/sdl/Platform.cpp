// Desktop platform services (kestrane/Platform.h).
#include "kestrane/Platform.h"

#include <malloc.h>

#include <algorithm>
#include <thread>

namespace Kestrane {

unsigned workerThreads() { return std::max(1u, std::thread::hardware_concurrency()); }

void releaseFreedMemory() { malloc_trim(0); }

void fileWritten(const std::string&) {}

}  // namespace Kestrane
