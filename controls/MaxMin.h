#pragma once
// Integer maximum and minimum.
#include <cstdint>

inline int32_t IntMax(int32_t A, int32_t B) { return A > B ? A : B; }
inline int32_t IntMin(int32_t A, int32_t B) { return A < B ? A : B; }
