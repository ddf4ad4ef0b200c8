#pragma once
// The piece layout of a document made from a repeat layout: the source's piece count
// (at least 1) and piece height, each piece the result's width divided among the pieces,
// no gap.

#include <array>
#include <cstdint>

std::array<std::int32_t, 4> RepeatLayoutPieces(const std::array<std::int32_t, 4> &source, int resultWidth);
