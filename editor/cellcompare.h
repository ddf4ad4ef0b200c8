#pragma once
// FirstDifference: where two lines of cells first differ, eight cells at a time, since long
// stretches of equal cells are what a pattern mostly holds. The scans that only care where
// an index changes (runs, one-colour blocks) skip the rest with it.

#include <bit>
#include <cstdint>
#include <cstring>

// The first i in from .. n - 1 with a[i] != b[i], or n.
inline int FirstDifference(const std::uint8_t *a, const std::uint8_t *b, int from, int n)
{
    int i = from;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 8 <= n; i += 8) {
            std::uint64_t x, y;
            std::memcpy(&x, a + i, 8);
            std::memcpy(&y, b + i, 8);
            if (x != y)
                return i + std::countr_zero(x ^ y) / 8;
        }
    }
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}
