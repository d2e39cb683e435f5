#pragma once
// Work on a picture's rows shared among threads, for routines whose every output row depends
// only on their unchanged input: the result is the same whatever the split.
#include <functional>

// Calls work(first, last) for pieces of rows [first, last) that together cover [0, rows), and
// returns when all have ended. A thread is taken for every minRows rows, up to the CPUs this
// process may run on and maxThreads (0: no limit); the calling thread is one of them, and a job
// too small for a second thread runs on it alone. The threads take pieces in turn as they end
// the last, so one held up by a busy machine holds the rest up by a piece at most.
void ForEachRowBand(int rows, int minRows, const std::function<void(int, int)>& work, int maxThreads = 0);

// The threads a routine bound by the memory's speed takes at the most: more only wait on it, and
// on a busy machine one of them held up holds up the picture.
constexpr int kMemoryBoundThreads = 4;

// The CPUs this process may run on: its affinity mask, not the machine's count.
int AvailableCpus();

// The threads the last job started on this thread was shared among; for benchmarks, which time
// a baseline on as many.
int LastRowBandThreads();

// For tests and benchmarks, which compare one thread with many: from now on every job is shared
// among n threads as far as it has rows, however small; 0 restores the choice by CPUs and size.
void ForceRowBandThreads(int n);
