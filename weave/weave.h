#pragma once
// TWeave: the weave (组织) being edited.
// A 0/1 matrix [warp][weft] (warp 0 the left column, weft 0 the top row as the design window
// shows it) with an optional block that limits most transformations, the warp and weft layer
// sequences of a multi-layer weave, a ring of four whole-weave snapshots for undo and three
// change events. Single-threaded, no window.
//
// Requests that cannot be carried out (indices outside the block or the weave, non-square
// blocks for the diagonals and rotations, counts out of range, a result larger than a weave
// file holds or than the picture memory budget) are ignored silently: the cells stay as
// they are and, unless a routine says otherwise, no change is recorded or announced.

#include "weave/weavearray.h"

#include <QString>

#include <array>
#include <functional>

// The largest number of warps or wefts: the weave file holds the cells it can read back.
constexpr int MaxWeaveSide = 65535;

enum TMirrorWeftMode { SwapUpDown = 0, UpToDown = 1, DownToUp = 2 };
enum TMirrorWarpMode { SwapLeftRight = 0, LeftToRight = 1, RightToLeft = 2 };
enum TAntiDiagonalMode { SwapUpleftDownright = 0, UpleftToDownright = 1, DownrightToUpleft = 2 };
enum TMainDiagonalMode { SwapUprightDownleft = 0, UprightToDownleft = 1, DownleftToUpright = 2 };
// Clockwise as seen in the design window.
enum TRotateMode { Rotate90 = 1, Rotate180 = 2, Rotate270 = 3 };
// Up is toward weft 0, down toward the last weft, left toward warp 0.
enum TShiftDirection { ShiftUp = 0, ShiftDown = 1, ShiftLeft = 2, ShiftRight = 3 };
// Where another weave joins this one (the items of the combine dialog, in order).
enum TCombineMode {
    CombineAbove = 0,
    CombineBelow = 1,
    CombineLeft = 2,
    CombineRight = 3,
    CombineTileAll = 4,
    CombineAtBlock = 5,
    CombineTileBlock = 6,
};

class TWeave {
public:
    using TNotifyEvent = std::function<void(TWeave *sender)>;
    static constexpr int SnapshotCount = 4;

    // Sizes 0, layer sequences [1] with maxima 1, no block, undo disabled, ring empty.
    TWeave();
    TWeave(const TWeave &) = delete;
    TWeave &operator=(const TWeave &) = delete;

    // Fired after every change, undo, redo and reset, and by SetCells without recording.
    TNotifyEvent OnChange;
    // Fired whenever CanUndo (CanRedo) is assigned, changed or not.
    TNotifyEvent OnUndoStateChange;
    TNotifyEvent OnRedoStateChange;

    int WarpCount() const { return m_warpCount; }
    int WeftCount() const { return m_weftCount; }
    const TWeaveArray &Cells() const { return m_cells; }
    // The cell, 0 outside the weave.
    std::uint8_t GetCell(int warp, int weft) const;
    // Dest becomes a copy of the cells on storage of its own.
    void GetCells(TWeaveArray &dest) const;
    // The cells become a copy of Source and the sizes follow it. With record the change is
    // recorded (Changed); otherwise only OnChange fires.
    void SetCells(const TWeaveArray &source, bool record);
    // W x H plain weave (1 where warp + weft is odd), then ResetUndo(true).
    void NewPlain(int warps, int wefts);

    // Reads a weave file; on success the cells take it and ResetUndo(true) follows, on
    // failure nothing changes.
    bool LoadFromFile(const QString &fileName, QString *error = nullptr);
    // Writes the cells; only when the write succeeded the undo history ends and Modified
    // is cleared (ResetUndo(true)).
    bool SaveToFile(const QString &fileName, QString *error = nullptr);
    // Writes the cells inside the block as a weave of their own; false without a block.
    bool SaveBlockToFile(const QString &fileName, QString *error = nullptr) const;

    // The block's corners as set (low warp, low weft, high warp, high weft need not be in
    // order); (-1, -1, -1, -1) without a block.
    bool HasBlock() const { return m_hasBlock; }
    const TWeaveRect &Block() const { return m_block; }
    void SetBlock(const TWeaveRect &rect);
    void ClearBlock();
    // The block with each pair of bounds in ascending order, or the whole weave without a
    // block.
    TWeaveRect BlockBounds() const;

    const TIntegerArray &WarpLayers() const { return m_warpLayers; }
    const TIntegerArray &WeftLayers() const { return m_weftLayers; }
    int WarpLayerMax() const { return m_warpLayerMax; }
    int WeftLayerMax() const { return m_weftLayerMax; }
    // Stores a copy of the sequence with its largest entry as the maximum; an empty
    // sequence changes nothing and gives false.
    bool SetLayers(const TIntegerArray &sequence, bool isWarp);

    bool UndoEnabled() const { return m_undoEnabled; }
    void SetUndoEnabled(bool enabled) { m_undoEnabled = enabled; }
    bool CanUndo() const { return m_canUndo; }
    bool CanRedo() const { return m_canRedo; }
    bool Modified() const { return m_modified; }
    bool BaseSaved() const { return m_baseSaved; }
    int CurrentSnapshot() const { return m_currentSnapshot; }
    // The newest snapshot, -1 while the ring is empty.
    int LastSnapshot() const { return m_lastSnapshot; }
    const TWeaveArray &Snapshot(int index) const { return m_snapshots[std::size_t(index)]; }
    void Undo();
    void Redo();
    // Empties the ring and makes the cells its base snapshot; Modified := not baseSaved.
    void ResetUndo(bool baseSaved);

    // Edits. Each records one change (Changed) unless it is refused.
    void ToggleCell(int warp, int weft);
    void FillAll(int value);
    // Without a block nothing happens.
    void FillBlock(int value);
    void InvertBlock();
    void MirrorWefts(TMirrorWeftMode mode);
    void MirrorWarps(TMirrorWarpMode mode);
    // Square blocks only.
    void ReflectAntiDiagonal(TAntiDiagonalMode mode);
    void ReflectMainDiagonal(TMainDiagonalMode mode);
    void RotateBlock(TRotateMode mode);
    void SwapWarps(int a, int b);
    void SwapWefts(int a, int b);
    // Cyclic shift inside the block by Min(steps, extent - 1).
    void ShiftBlock(TShiftDirection direction, int steps);
    // After = -1 inserts at the front, after = the last index appends.
    void InsertWarps(int after, int count);
    // Before weft index at; at = WeftCount appends.
    void InsertWefts(int at, int count);
    // Warps from .. from + count - 1; at least two warps stay.
    void DeleteWarps(int from, int count);
    // Wefts at - count + 1 .. at; at least two wefts stay.
    void DeleteWefts(int at, int count);
    // Broken twill inside the repeat (even sizes only) and outside it (size doubled).
    void InvertMirrorWarps();
    void InvertMirrorWefts();
    void DoubleWarpsInverted();
    void DoubleWeftsInverted();
    // Point twill inside the repeat and outside it (size 2N - 2).
    void WarpHillIn();
    void WeftHillIn();
    void WarpHillOut();
    void WeftHillOut();
    // For each axis (warps numbered from 1 at the left, wefts from 1 at the bottom) the
    // lines before it are copied beyond it, amount lines each; the first line outside the
    // weave ends the whole operation, keeping what was copied.
    void Symmetrize(const TIntegerArray &positions, const TIntegerArray &amounts, bool alongWarps);
    // The reverse side of the fabric.
    void BackSide();
    // New size filled by repeating the old weave (anchored at warp 0 and the last weft).
    void ResizeTiled(int warps, int wefts);
    // Joins another (non-empty) weave.
    void Combine(const TWeaveArray &other, TCombineMode mode);

private:
    void fire(const TNotifyEvent &event);
    void setCanUndo(bool value);
    void setCanRedo(bool value);
    void push();
    void changed();
    // The cells take the matrix (sizes follow).
    void takeCells(TWeaveArray cells);
    // The block bounds when they lie within the weave.
    bool blockInside(TWeaveRect &bounds) const;
    bool squareBlock(TWeaveRect &bounds) const;
    // Whether a weave of that size may be made.
    static bool sizeAllowed(qint64 warps, qint64 wefts);
    void resizeWarps(int warps);
    void resizeWefts(int wefts);
    void invertMirror(bool warps);
    void hillIn(bool warps);
    void hillOut(bool warps);
    void combineBeside(const TWeaveArray &other, TCombineMode mode);
    void combineInBlock(const TWeaveArray &other, TCombineMode mode);

    TWeaveArray m_cells;
    int m_warpCount = 0;
    int m_weftCount = 0;
    TIntegerArray m_warpLayers;
    TIntegerArray m_weftLayers;
    int m_warpLayerMax = 1;
    int m_weftLayerMax = 1;
    bool m_hasBlock = false;
    TWeaveRect m_block { -1, -1, -1, -1 };
    bool m_undoEnabled = false;
    bool m_canUndo = false;
    bool m_canRedo = false;
    bool m_modified = false;
    std::array<TWeaveArray, SnapshotCount> m_snapshots;
    int m_currentSnapshot = 0;
    int m_lastSnapshot = -1;
    bool m_baseSaved = false;
};
