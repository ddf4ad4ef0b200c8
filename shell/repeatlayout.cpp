#include "shell/repeatlayout.h"

#include <algorithm>

// Piece height, piece width, piece count and gap, as the grid keeps them.
std::array<std::int32_t, 4> RepeatLayoutPieces(const std::array<std::int32_t, 4> &source, int resultWidth)
{
    const std::int32_t count = std::max<std::int32_t>(1, source[2]);
    return { source[0], resultWidth / count, count, 0 };
}
