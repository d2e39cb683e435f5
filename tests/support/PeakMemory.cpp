#include "PeakMemory.h"

#include <cstring>
#include <fstream>
#include <string>

namespace {
// Resident memory figures of this process, in kilobytes.
long StatusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    return 0;
}
}  // namespace

long PeakGrowthKb(const std::function<void()>& call)
{
    std::ofstream("/proc/self/clear_refs") << "5";  // resets the peak to the current size
    long before = StatusKb("VmRSS:");
    call();
    return StatusKb("VmHWM:") - before;
}
