#pragma once
// TWeaveRect and the free routines on weave (组织) matrices.
// Free routines on weave matrices (TWeaveArray, indexed [warp][weft]; 1 = weave point,
// 0 = empty cell): making, copying, filling, tiling and rectangle transfers.
// A weave shown in the design window has weft 0 at the top; tiling anchors a weave at
// warp 0 and at its last weft (the bottom-left corner).

#include "core/base/document.h"

#include <cstdint>

// A cell rectangle, all bounds inclusive: low warp, low weft, high warp, high weft.
struct TWeaveRect {
    std::int32_t LowWarp = 0;
    std::int32_t LowWeft = 0;
    std::int32_t HighWarp = 0;
    std::int32_t HighWeft = 0;
};

// Number of warps (first index) and of wefts (length of the first warp).
int WeaveWarps(const TWeaveArray &cells);
int WeaveWefts(const TWeaveArray &cells);

// Cells becomes 2 x 2, all 1 when filled, else all 0.
void InitSolidWeave(TWeaveArray &cells, bool filled);
// Dest becomes a copy of Source on storage of its own; an empty Source leaves Dest as it is.
void CopyWeaveArray(const TWeaveArray &source, TWeaveArray &dest);
// Every cell (of the matrix, of the inclusive rectangle clipped to the matrix) becomes 1
// when value is non-zero, else 0.
void FillWeaveArray(TWeaveArray &cells, int value);
void FillWeaveRect(TWeaveArray &cells, const TWeaveRect &rect, int value);
// Dest keeps its size and is filled by repeating Source, anchored at warp 0 and the last
// weft: Dest[i][j] = Source[i mod W][H - 1 - ((H2 - 1 - j) mod H)]. An empty Source leaves
// Dest unchanged.
void TileWeaveArray(const TWeaveArray &source, TWeaveArray &dest);

enum TWeaveTransferMode { WeaveMove = 0, WeaveCopy = 1, WeaveMerge = 2 };
// Copies the rectangle of Source into Dest with its low corner at [destWarp][destWeft].
// The rectangle is taken into a temporary first, so Source and Dest may be one matrix and
// may overlap. Move clears the source cells before writing; merge makes a cell 1 when it
// or the copied cell is non-zero. Cells outside either matrix are skipped.
void TransferWeaveRect(
    TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int mode, int destWeft, int destWarp);
void MoveWeaveRect(
    TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int destWeft, int destWarp);
void CopyWeaveRect(
    const TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int destWeft, int destWarp);
void MergeWeaveRect(
    const TWeaveArray &source, const TWeaveRect &rect, TWeaveArray &dest, int destWeft, int destWarp);

void SwapBytes(std::uint8_t &a, std::uint8_t &b);
void SwapIntegers(std::int32_t &a, std::int32_t &b);
// Dest becomes a copy of Source on storage of its own.
void CopyIntegerArray(const TIntegerArray &source, TIntegerArray &dest);
