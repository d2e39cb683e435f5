#pragma once
// Which vector instructions the pixel routines use. The program is built for the baseline x86-64
// processor; the faster paths are chosen once, at run time, by what the processor offers. Every
// path gives the same bytes.

enum class TVectorPath { Plain, Ssse3, Avx2 };

// The path in use: the best the processor offers, unless a test has forced another.
TVectorPath ActiveVectorPath();

bool VectorPathAvailable(TVectorPath path);

// For tests, which compare the paths with each other: uses the given path from now on; false,
// and nothing changed, when the processor lacks it.
bool ForceVectorPath(TVectorPath path);
