#pragma once
// TUndoData and TBmpData: the cell records of the undo store.
// Cell records of the undo store: collecting the cells an edit changed while enforcing
// the editing rules, copying accepted changes into every repeat of the layout, building
// a step's entries and replaying them in either direction, and freeing steps.
//
// The editing code changes Picture first; the collectors compare it with RefBitmap (the
// picture as it stood after the last recorded change) and put back every cell the rules
// forbid: a protected old colour, the single or double start-point filter, a cell
// outside the selection. Nothing here reads or writes outside the pictures.

#include "core/base/gridrecords.h"
#include "core/palette/palette.h"
#include "core/undo/undofiles.h"
#include "core/undo/undokind.h"
#include "core/undo/undopack.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#pragma pack(push, 1)
// One changed cell of an undo step.
struct TBmpData {
    std::uint16_t X = 0;
    std::uint16_t Y = 0;
    std::uint8_t OldIndex = 0;
    std::uint8_t NewIndex = 0;
};
#pragma pack(pop)
static_assert(sizeof(TBmpData) == 6);

using TBmpDataArray = TDynArray<TBmpData>;
// Accepted cells while an undo step is built; grows one cell at a time.
using TILineArray = std::vector<TWordPoint>;

// Something an undo step keeps alive and frees with it: a floating picture, a floating
// text, or a copy of the grid's drawing object. The store only owns and moves these; the
// grid knows their classes.
class TUndoObject {
public:
    virtual ~TUndoObject() = default;
};

// One undo step. Cell steps fill Data, or for a large area keep Packed: the XOR of the
// area's cells before and after, placed at PackedAt. Whole-picture (Image) and palette
// (Palette) steps name their two temporary files; a whole-picture step whose picture kept
// its size and colours keeps Packed over the whole picture instead (no files), and one of
// a new size whose two pictures pack small enough keeps them in memory (no files either). Shift steps
// (ShiftVert, ShiftHorz) keep Count. A whole-picture step of a flip or turn keeps only
// Turn and TurnBox. Every step has the
// grid settings after and before the change.
struct TUndoData {
    TBmpDataArray Data; // changed cells, in recording order
    TUndoKind Kind = TUndoKind::Image;
    std::int32_t Reserved = 0; // always 0
    TUndoObject *ShapeCopy = nullptr; // drawing-object copy; owned by the store's shape lists
    QString BeforeFile; // state before the change (Image, Palette)
    QString AfterFile; // state after the change (Image, Palette)
    std::int32_t StepNo = 0; // number used in the temporary file names
    TParam After;
    TParam Before;
    std::int32_t Count = 0; // shift count of ShiftVert and ShiftHorz
    std::shared_ptr<const TPackedPlane> Packed; // null unless the cells are packed
    QPoint PackedAt; // top-left cell of the packed box
    // A packed whole-picture step: the colour tables of the picture before and after.
    QList<QRgb> BeforeTable, AfterTable;
    std::optional<TPictureTurn> Turn; // a whole-picture step replayed by the operation
    TRect TurnBox; // the flipped box (right and bottom exclusive)
    // A whole-picture step of a new size kept in memory instead of its two files: the
    // pictures before and after, packed as their files would hold them.
    std::shared_ptr<const TPackedPicture> BeforePicture, AfterPicture;
};

// Frees a step: its temporary files (Image and Palette steps) are deleted with it.
struct TUndoRecordDeleter {
    void operator()(TUndoData *step) const;
};
using TUndoStep = std::unique_ptr<TUndoData, TUndoRecordDeleter>;
using TUndoStepList = std::vector<TUndoStep>;

// The rule inputs of the collectors.
struct TUndoRules {
    TColorSet Protected; // old colours that may not change
    bool SinglePoint = false; // put back cells where column + row from the bottom is even
    bool DoublePoint = false; // ... where it is odd
    const QRegion *Region = nullptr; // the selection, or null
};

// For each listed cell in list order: accepted with ignoreRules; otherwise put back
// (Picture := RefBitmap) when a rule forbids it, else accepted. Accepted cells are
// appended to accepted. Cells outside the picture are skipped (never read or written).
void CollectListedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
    TILineArray &accepted, const TLineArray &cells, bool ignoreRegion, bool ignoreRules);
// The same for a list that may name cells outside the picture.
void CollectClippedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
    TILineArray &accepted, const TLineArray &cells, bool ignoreRegion, bool ignoreRules);
// The same rules over the cells of r (inclusive bounds, clamped to the picture), row by
// row from the top, taking only cells whose index differs from RefBitmap.
void CollectChangedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
    TILineArray &accepted, const TRect &r, bool ignoreRegion, bool ignoreRules);

// When the repeat view is shown (Flags[0] and Flags[1]), copies the Picture index of every
// accepted cell into the same place of every repeat (flips and offsets applied) and
// replaces the list by all copies, the cell itself included, rows of repeats outer,
// columns inner. A target named twice is listed once (at its first place). Targets
// outside the picture are left out. Without the repeat view the list stays as it is.
void PropagateRepeats(QImage &picture, const TRepeatPic &repeat, TILineArray &cells);

// A new step (Cells) with one entry per accepted cell: (x, y, RefBitmap, Picture).
TUndoStep BuildUndoPixels(const QImage &picture, const QImage &refBitmap, const TILineArray &accepted);

// Every entry inside the picture takes OldIndex when undoing, else NewIndex: in
// RefBitmap always, in Picture when writePicture. A packed step has no entries (see
// BuildPackedStep).
void ApplyUndoPixels(
    QImage &picture, QImage &refBitmap, const TUndoData &step, bool writePicture, bool undoing);

// The packed form of a cell step over box (inclusive bounds, clamped to the picture): the
// rules are enforced as by CollectChangedPixels (forbidden cells put back in Picture), then
// the box's XOR of Picture and RefBitmap is packed and RefBitmap takes the box's cells.
// changed tells whether any cell of the box differs. Null when the pictures differ in size
// or the box lies outside. The packed XOR replays in both directions from RefBitmap.
TUndoStep BuildPackedStep(QImage &picture, QImage &refBitmap, const TUndoRules &rules, const TRect &box,
    bool ignoreRegion, bool ignoreRules, bool &changed);
// Boxes of at least this many cells are kept packed rather than as a cell list.
constexpr long long PackedStepMinCells = 4096;

// Append a point and return its index. AddLinePoint copies the array each time: long
// lists are better built in a std::vector and copied once.
int AddLinePoint(const TPoint &p, TLineArray &points);
int AddWordPoint(std::uint16_t x, std::uint16_t y, TILineArray &points);

// Frees a step (see TUndoRecordDeleter) and every step of a list, newest first.
void FreeUndoRecord(TUndoData *step);
void FreeUndoList(TUndoStepList &list);
