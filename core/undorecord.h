#pragma once
// Cell records of the undo store: collecting the cells an edit changed while enforcing
// the editing rules, copying accepted changes into every repeat of the layout, building
// a step's entries and replaying them in either direction, and freeing steps.
//
// The editing code changes Picture first; the collectors compare it with RefBitmap (the
// picture as it stood after the last recorded change) and put back every cell the rules
// forbid: a protected old colour, the single or double start-point filter, a cell
// outside the selection. Nothing here reads or writes outside the pictures.

#include "core/typedefine.h"

#include <QImage>
#include <QRegion>

#include <cstdint>
#include <memory>
#include <vector>

// Frees a step: its temporary files (Image and Palette steps) are deleted with it.
struct TUndoRecordDeleter {
    void operator()(TUndoData *step) const;
};
using TUndoStep = std::unique_ptr<TUndoData, TUndoRecordDeleter>;
using TUndoStepList = std::vector<TUndoStep>;

// The rule inputs of the collectors.
struct TUndoRules {
    TColorSet Protected;          // old colours that may not change
    bool SinglePoint = false;     // put back cells where column + row from the bottom is even
    bool DoublePoint = false;     // ... where it is odd
    const QRegion *Region = nullptr; // the selection, or null
};

// For each listed cell in list order: accepted with ignoreRules; otherwise put back
// (Picture := RefBitmap) when a rule forbids it, else accepted. Accepted cells are
// appended to accepted. Cells outside the picture are skipped (never read or written).
void CollectListedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
                         TILineArray &accepted, const TLineArray &cells, bool ignoreRegion,
                         bool ignoreRules);
// The same for a list that may name cells outside the picture.
void CollectClippedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
                          TILineArray &accepted, const TLineArray &cells, bool ignoreRegion,
                          bool ignoreRules);
// The same rules over the cells of r (inclusive bounds, clamped to the picture), row by
// row from the top, taking only cells whose index differs from RefBitmap.
void CollectChangedPixels(QImage &picture, const QImage &refBitmap, const TUndoRules &rules,
                          TILineArray &accepted, const TRect &r, bool ignoreRegion,
                          bool ignoreRules);

// When the repeat view is shown (Flags[0] and Flags[1]), copies the Picture index of every
// accepted cell into the same place of every repeat (flips and offsets applied) and
// replaces the list by all copies, the cell itself included, rows of repeats outer,
// columns inner. A target named twice is listed once (at its first place). Targets
// outside the picture are left out. Without the repeat view the list stays as it is.
void PropagateRepeats(QImage &picture, const TRepeatPic &repeat, TILineArray &cells);

// A new step (Cells) with one entry per accepted cell: (x, y, RefBitmap, Picture).
TUndoStep BuildUndoPixels(const QImage &picture, const QImage &refBitmap, const TILineArray &accepted);

// Every entry inside the picture takes OldIndex when undoing, else NewIndex: in
// RefBitmap always, in Picture when writePicture.
void ApplyUndoPixels(QImage &picture, QImage &refBitmap, const TUndoData &step, bool writePicture,
                     bool undoing);

// Append a point and return its index. AddLinePoint copies the array each time: long
// lists are better built in a std::vector and copied once.
int AddLinePoint(const TPoint &p, TLineArray &points);
int AddWordPoint(std::uint16_t x, std::uint16_t y, TILineArray &points);

// Frees a step (see TUndoRecordDeleter) and every step of a list, newest first.
void FreeUndoRecord(TUndoData *step);
void FreeUndoList(TUndoStepList &list);
