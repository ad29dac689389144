// What the capture reports about its own process: the time since it started
// and its resident memory, read from /proc/self.
//
// Use:
//   secondsSinceStart()      wall seconds since the process was created (its
//                            start time in /proc/self/stat against the boot
//                            clock), so loading libraries counts too; -1 when
//                            /proc cannot be read.
//   readMemory()             {resident, peak} in KiB: VmRSS and VmHWM of
//                            /proc/self/status; zeros when it cannot be read.
//   parseMemory(statusText)  the same from the text of such a file.
#pragma once

#include <string>

namespace Capture {

struct MemoryUse {
    long residentKiB = 0;  // VmRSS
    long peakKiB = 0;      // VmHWM
};

double secondsSinceStart();
MemoryUse readMemory();
MemoryUse parseMemory(const std::string& statusText);

}  // namespace Capture
