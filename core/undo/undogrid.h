#pragma once
// TUndoGridLink: the side of a pattern grid its undo store works on.
// The side of a pattern grid that its undo store works on. The pattern grid implements
// this interface; the store (core/undo.h) reads the pictures and settings through it when
// it records a step, writes them back through it when it replays one, and reports every
// state change through it so that the grid can forward the notifications to the main
// window. Tests implement it with a small fake grid.
//
// Coordinates are cells: column x, row y, row 0 = the top row as stored.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"
#include "core/undo/undorecord.h"

#include <QImage>
#include <QRegion>

#include <array>
#include <cstdint>
#include <memory>

// UndoMode values: steps are recorded (the normal state) or nothing is recorded.
constexpr std::uint8_t UndoModeRecord = 7;
constexpr std::uint8_t UndoModeSuspended = 6;

// States handed to SetFloatingObjectsState around a replay.
constexpr int FloatingBeforeUndo = 2;
constexpr int FloatingBeforeRedo = 1;
constexpr int FloatingAfterUndo = 0;
constexpr int FloatingAfterRedo = 4;

class TUndoGridLink {
public:
    virtual ~TUndoGridLink() = default;

    // --- What a step records --------------------------------------------------------
    // The 8-bit pattern picture and its reference copy (the picture as it stood after the
    // last recorded change). Both have the same size; the store writes cells of both.
    virtual QImage &Picture() = 0;
    virtual QImage &RefBitmap() = 0;
    // The document palette and the copy of it taken before the latest palette change.
    virtual const TPalette256 &Palette() const = 0;
    virtual const TPalette256 &DisplayPalette() const = 0;
    // UndoModeRecord or UndoModeSuspended.
    virtual std::uint8_t UndoMode() const = 0;
    virtual void SetUndoMode(std::uint8_t mode) = 0;
    // The cell list of the last cell-list step (may hold cells outside the picture).
    virtual const TLineArray &ChangedCells() const = 0;
    // Protected colour indexes: a changed cell whose old index is in the set is put back.
    virtual TColorSet ColorSet() const = 0;
    // Byte 0: single start-point filter, byte 1: double start-point filter, byte 2 unused.
    virtual std::array<std::uint8_t, 3> PointStyle() const = 0;
    // The selection in cells; an empty region means there is no selection.
    virtual QRegion SelectionRegion() const = 0;
    // The repeat layout: Flags[0] repeat display wanted, Flags[1] repeat view shown,
    // Flags[2] one-repeat border; Value1 is the layout style (3 = columns stepped down).
    virtual const TRepeatPic &RepeatInfo() const = 0;

    // --- Grid settings snapshots ----------------------------------------------------
    // Current tool id, weft and warp density, fore and back index and the repeat
    // information. The pen widths are global and filled in by the store.
    virtual TParam CurrentSettings() const = 0;
    // Puts back fore index, back index, weft and warp density, the repeat information,
    // the display flag and the repeat-display flag, and the repeat-view flag: through the
    // grid's repeat-view switch when applyRepeatView, else only stored. The store has
    // already set the global pen widths and calls NotifyPenWidth itself.
    virtual void RestoreSettings(const TParam &settings, bool applyRepeatView) = 0;

    // --- The drawing object ---------------------------------------------------------
    virtual TToolId ToolId() const = 0;
    // Whether the current tool's pending shape is kept with each step, so that undoing the
    // step brings the shape being edited back (the grid's tool table says which tools).
    virtual bool ToolKeepsShapeCopy() const { return false; }
    // A new drawing object of the same class with the settings and vertices of the
    // grid's current one, or null when that object has fewer than two vertices.
    virtual std::unique_ptr<TUndoObject> CopyDrawObject() const = 0;
    // Replaces the grid's drawing object by a new object of copy's class with copy's
    // settings and vertices and makes toolId the grid's tool (with its notification).
    virtual void RestoreDrawObject(const TUndoObject &copy, TToolId toolId) = 0;
    // Clears the vertices of the grid's drawing object.
    virtual void ResetDrawObject() = 0;

    // --- Replay ---------------------------------------------------------------------
    // Floating picture and floating text state around a replay (Floating* above).
    virtual void SetFloatingObjectsState(int state) = 0;
    // A whole-picture step: picture (8-bit, 256-entry colour table) becomes the grid's
    // picture exactly as given; the grid takes its colour table as the palette, rebuilds
    // RefBitmap, sets its counts, resets fore and back index and the repeat size, and
    // sends its palette, size and refresh notifications, as after loading a file. No
    // colour is added to the palette.
    virtual void ReplacePicture(const QImage &picture) = 0;
    // The same when RefBitmap already holds the picture's cells (a packed step replays into
    // both), so that RefBitmap needs only the new colour table rather than a second copy.
    virtual void ReplacePictureHeldByRef(const QImage &picture) { ReplacePicture(picture); }
    // A palette step: palette becomes the grid's palette (and its display copy); when the
    // lowest entry that differs from the old display palette is the text colour index the
    // fore pen takes its new colour, when it is the back index the back pen does; the
    // palette items are rebuilt and the palette is written into the colour tables of
    // Picture and RefBitmap with a repaint.
    virtual void ReplacePalette(const TPalette256 &palette) = 0;
    // Cyclic shift of the whole picture by count rows (columns), rows count..H-1 first;
    // Picture and RefBitmap both end shifted. Called with UndoMode suspended.
    virtual void ShiftPictureVert(int count) = 0;
    virtual void ShiftPictureHorz(int count) = 0;
    // Applies the current zoom level again (rebuilds the reduced view and repaints).
    virtual void ReapplyZoom() = 0;

    // --- State and notifications ----------------------------------------------------
    // Sets the document's modified flag.
    virtual void SetModified() = 0;
    virtual void Repaint() = 0;
    // Undo and redo counts, edit state and repeat state to the main window.
    virtual void NotifyMainWindow() = 0;
    // The refresh-view notification with the given mode.
    virtual void NotifyRefreshView(int mode) = 0;
    // The pattern-size notification.
    virtual void NotifyPatternSize(int cols, int rows) = 0;
    // The pen-width notification (the global HorzWidth and VertWidth).
    virtual void NotifyPenWidth() = 0;
};
