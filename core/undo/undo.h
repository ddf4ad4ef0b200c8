#pragma once
// TUndo: the undo and redo history of one pattern grid.
//
// A step holds what its change needs to be replayed, in the least form that serves: the
// changed cells with their old and new colour index (cell steps), or for a large area its
// box and the XOR of its cells before and after, packed; for a whole-picture command the
// operation itself when it has an exact inverse (flips and turns), the packed XOR of the
// picture before and after when the size and colours stayed, or else the picture before
// and after packed, in memory up to a size and beyond it in two temporary files; the
// palette before and after in two files; the grid
// settings only; or a floating object. Every step also keeps the grid settings before and
// after the change. The store works on its grid through TUndoGridLink and reports every
// change through it.
//
// Temporary files live in the private temporary folder of the process (ScanImgPath) and
// carry the store's own document number, so two documents never share a name. A step
// moves between the undo and redo lists only after its replay succeeded: a missing or
// damaged temporary file leaves the picture, the palette and both lists as they were.

#include "core/base/gridrecords.h"
#include "core/undo/undogrid.h"
#include "core/undo/undorecord.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

using TUndoObjectList = std::vector<std::unique_ptr<TUndoObject>>;

// A settings snapshot with repeat arrays of its own, so that later edits of the grid's
// repeat layout do not reach into a kept step.
TParam CopySettings(const TParam &p);

class TUndo {
public:
    explicit TUndo(TUndoGridLink &grid);
    ~TUndo();
    TUndo(const TUndo &) = delete;
    TUndo &operator=(const TUndo &) = delete;

    // --- Recording. Everything but PushObjectStep records nothing while the grid's
    // UndoMode is suspended; everything but SaveRectStepAs and SaveStateStep first
    // empties the redo side.
    // Whole picture: Picture after and RefBitmap before, both packed; kept in memory
    // when together they pack into MemoryStepBytes or less, else written to AfterFile and
    // BeforeFile. False (with a message) when a file cannot be written or the pictures
    // cannot be packed; nothing is recorded then.
    bool SaveImageStep(QString *error = nullptr);
    // The step of a whole-picture command, in the least form that replays it: when Picture
    // kept RefBitmap's size, the XOR of the two packed in memory with both colour tables
    // (no files); otherwise as SaveImageStep. False (with a message) when it cannot be kept.
    bool SaveWholePictureStep(QString *error = nullptr);
    // A flip or turn of the whole picture (flips inside box, right and bottom exclusive):
    // replayed by the operation and its inverse, no cells kept.
    void SaveTurnStep(TPictureTurn turn, const TRect &box);
    // Palette: AfterFile := Palette, BeforeFile := DisplayPalette.
    bool SaveLayerStep(QString *error = nullptr);
    // A cell step from the grid's ChangedCells (nothing when it is empty).
    void SaveRegionStep();
    // A cell step from the cells of r (inclusive bounds) that differ from RefBitmap.
    void SaveRectStep(const TRect &r, bool ignoreRules, bool ignoreRegion);
    // The same step, kept packed (box and cells) when r holds PackedStepMinCells or more
    // cells and the repeat view is not shown; the list form otherwise.
    void SaveAreaStep(const TRect &r, bool ignoreRules, bool ignoreRegion);
    // A cell step from ChangedCells where cells outside the picture are skipped.
    void SaveClippedRegionStep();
    // Replaces the newest undo step by a cell step for r with the given kind; the step
    // replays as a cell step, so kind should be a number that is none of the named kinds
    // (or TUndoKind::Cells).
    void SaveRectStepAs(const TRect &r, TUndoKind kind);
    // A settings step: Before := the current settings; After follows from UpdateTopState.
    void SaveStateStep();
    // After := the current settings for the newest step; main window and size notified.
    void UpdateTopState();
    // A cyclic shift of the whole picture by count (ShiftVert rows, ShiftHorz columns).
    void SaveShiftStep(int count, TUndoKind kind);
    // A floating text (Text) or floating picture (Bitmap); the store owns obj.
    void PushObjectStep(TUndoKind kind, std::unique_ptr<TUndoObject> obj);
    // Writes the current Picture over AfterFile of the newest step.
    bool SaveTopImageFile(QString *error = nullptr);

    // --- Replay. False with a message when the step could not be replayed (the step
    // then stays where it was). An empty list does nothing, sends nothing, returns true.
    bool Undo(QString *error = nullptr);
    bool Redo(QString *error = nullptr);

    TUndoData *GetTopStep() const;
    TUndoObject *GetTopBitmapObject() const;
    TUndoObject *GetTopTextObject() const;
    int UndoCount() const { return int(UndoSteps.size()); }
    int RedoCount() const { return int(RedoSteps.size()); }

    // Frees the redo side: an edit that is no step of its own (dragging a floating
    // picture) makes what was undone unreachable.
    void ClearRedoSide() { clearRedo(); }
    // Frees both sides (steps with their files, objects, shape copies); UndoMode := record.
    void Clear();

    // Number of cell entries on both sides of this store.
    std::size_t CellEntryCount() const;
    // Bytes of the packed cells of both sides.
    std::size_t PackedByteCount() const;

    // The most bytes a whole-picture step of a new size keeps in memory; larger ones go to
    // temporary files, so that a long history of large steps does not fill the memory.
    static constexpr std::size_t DefaultMemoryStepBytes = std::size_t(128) << 20;
    std::size_t MemoryStepBytes = DefaultMemoryStepBytes;

    // Fields. The object lists are public so that the grid can reach the floating objects
    // it shows (zoom factors, stamping); the store owns everything in them.
    TUndoObjectList UndoBitmaps;
    int MaxCount = 1;
    TUndoObjectList RedoBitmaps;
    TUndoStepList RedoSteps; // oldest first
    TUndoStepList UndoSteps; // oldest first; the newest is the last
    TUndoObjectList RedoTexts;
    TUndoObjectList UndoTexts;
    TUndoObjectList UndoShapes;
    TUndoObjectList RedoShapes;
    TUndoGridLink &Grid;

private:
    bool recordingSuspended() const;
    void clearRedo();
    TParam currentSettings() const;
    void addStep(TUndoStep step);
    void dropStep(TUndoStepList &list, std::size_t pos, bool undoSide);
    void addCellStep(TILineArray &cells, TUndoKind kind);
    bool addPackedCellStep(const TRect &rect, bool ignoreRegion, bool ignoreRules, TUndoKind kind);
    // A step kept in two temporary files: write(after, before, error) writes both.
    using TStepFileWriter = std::function<bool(const QString &after, const QString &before, QString *error)>;
    bool addFileStep(TUndoKind kind, const TStepFileWriter &write, QString *error);
    int nextStepNo() const;
    QString tempFileName(int stepNo, bool before) const;
    bool applyStep(TUndoStepList &source, TUndoStepList &target, bool undoing, QString *error);

    int m_docNo = 0; // unique per store in this process; part of the temporary file names
    // The picture a whole-picture replay from files put aside: the next such replay of the
    // same size reads its file into these cells instead of fresh memory (stepping back and
    // forth over a resize). Let go when a new step is recorded or the store is cleared.
    QImage m_sparePicture;
};

// --- The process-wide list of stores and the backup-size check -------------------------
// Every live store, in creation order.
const std::vector<TUndo *> &UndoObjects();
// Megabytes of cell entries (6 bytes each) and packed cells kept by all stores on both sides.
double UndoDataSizeMB();
// Stores UndoDataSizeMB in RunState().UndoDataSize; when it is above MaxBakDataSize,
// shows the warning through Hooks().UndoSizeWarning (set by the main window; unset shows
// nothing) and returns true. Steps are kept either way.
bool CheckUndoDataSize();
// The warning's text and caption.
QString UndoSizeWarningText();
QString UndoSizeWarningCaption();
