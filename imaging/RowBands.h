#pragma once
// Work on a picture's rows split into bands that run on a few threads at once, for routines
// whose every output row depends only on their unchanged input: the result is the same
// whatever the split.
#include <functional>

// Calls work(first, last) for bands of rows [first, last) that together cover [0, rows), each
// at least minRows long (but one), and returns when all have ended. Small jobs stay on the
// calling thread.
void ForEachRowBand(int rows, int minRows, const std::function<void(int, int)>& work);
