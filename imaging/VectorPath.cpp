#include "VectorPath.h"

#include <atomic>

namespace {

TVectorPath BestVectorPath()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2"))
        return TVectorPath::Avx2;
    if (__builtin_cpu_supports("ssse3"))
        return TVectorPath::Ssse3;
#endif
    return TVectorPath::Plain;
}

std::atomic<TVectorPath>& Active()
{
    static std::atomic<TVectorPath> active {BestVectorPath()};
    return active;
}

}  // namespace

TVectorPath ActiveVectorPath() { return Active().load(std::memory_order_relaxed); }

bool VectorPathAvailable(TVectorPath path)
{
    // The paths are ordered: a processor with one has every path before it.
    return static_cast<int>(path) <= static_cast<int>(BestVectorPath());
}

bool ForceVectorPath(TVectorPath path)
{
    if (!VectorPathAvailable(path))
        return false;
    Active().store(path, std::memory_order_relaxed);
    return true;
}
