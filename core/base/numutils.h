#pragma once
// The program's one rounding rule: halves go to the even neighbour (12.5 -> 12,
// 13.5 -> 14, -2.5 -> -2). Trunc drops the fraction toward zero. Use these instead of
// std::round or qRound, which round halves away from zero.

#include <cstdint>

// Nearest integer, halves to even. Values beyond the 64-bit range are clamped.
std::int64_t Round(double value);

// Integer part, toward zero. Values beyond the 64-bit range are clamped.
std::int64_t Trunc(double value);
