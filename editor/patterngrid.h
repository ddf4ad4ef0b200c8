#pragma once
// TPatternGrid: the point-paper (意匠) editing grid of one document.
// TPatternGrid: the editing grid of one pattern document, without widgets. It owns the
// 8-bit picture (one pixel per cell, column = warp, row = weft row, row 0 = top as
// stored), its reference copy, the document palette and its copies, the zoom state and
// the layout of the cells on screen, and it paints the visible part of the picture into
// an off-screen image. The widget that shows it (editor/ui/patterngridview.h) only hands
// it the client size, the scroll position and the pointer, and puts the image on screen.
//
// Zoom: level 9 shows one screen pixel per cell; from 9 to 24 the horizontal cell pitch
// is level - 8 pixels and the vertical pitch follows the ratio of warp density to weft
// density; below 9 a nearest-neighbour reduced view of the picture is shown, scaled by
// (level + 1) / 10 across and by that times the density ratio down. The reduced view is
// never stored whole: painting maps each visible reduced cell to its picture cell, so
// that neither memory nor time depends on the picture's size.

#include "core/base/document.h"
#include "core/base/gridrecords.h"
#include "core/palette/palette.h"
#include "core/settings/settings.h"
#include "core/undo/undo.h"
#include "core/undo/undogrid.h"
#include "core/undo/undorecord.h"
#include "editor/cellgridlayout.h"
#include "editor/crepe.h"
#include "editor/toolkey.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QMimeData;
class TBmp;
class TCustomLine;
class TGridClipboard;
class TGridTool;
class TInsertWord;
class TInsertWordAsker;
class TPaletteChoiceAsker;
class TGridToolBox;
class TRectangleLine;
struct TFloatMarking;

// What the model asks of the window that shows it.
class TPatternGridViewport {
public:
    virtual ~TPatternGridViewport() = default;
    // The cell sizes, counts or scroll position changed: scroll ranges follow.
    virtual void LayoutChanged() = 0;
    virtual void Repaint() = 0;
    // The tool wants the 250 ms tool timer (a held spray) on or off; each tick calls
    // TPatternGrid::ToolTimerTick.
    virtual void SetToolTimer(bool) { }
    // The pointer cursor of the tool changed (TPatternGrid::ToolCursor).
    virtual void ToolCursorChanged() { }
    // Whether the window follows the pointer out of its cells while a button is held.
    virtual void SetAutoScroll(bool) { }
};

class TPatternGrid : public TUndoGridLink {
public:
    static constexpr int BaseZoomLevel = 9; // one screen pixel per cell
    static constexpr int MaxZoomLevel = 24;
    static constexpr TColor clSilver = TIDrawGridLayout::clSilver;
    static constexpr TColor clGray = TIDrawGridLayout::clGray;

    TPatternGrid();
    ~TPatternGrid() override;
    TPatternGrid(const TPatternGrid &) = delete;
    TPatternGrid &operator=(const TPatternGrid &) = delete;

    void SetViewport(TPatternGridViewport *viewport) { m_viewport = viewport; }

    // --- The cell layout (the fields of the cell grid control) ----------------------
    TIDrawGridLayout &Grid() { return m_grid; }
    const TIDrawGridLayout &Grid() const { return m_grid; }
    int ColCount() const { return m_grid.ColCount(); }
    int RowCount() const { return m_grid.RowCount(); }
    int LeftCol() const { return m_grid.LeftCol(); }
    int TopRow() const { return m_grid.TopRow(); }
    int GridLineWidth() const { return m_grid.GridLineWidth; }
    int DefaultColWidth() const { return m_grid.DefaultColWidth; }
    int DefaultRowHeight() const { return m_grid.DefaultRowHeight; }
    // Resize the document: added cells take the back colour (values are kept within
    // 1 .. 65,535).
    void SetColCount(int value);
    void SetRowCount(int value);
    // Ignored at levels up to 9 while the width is already 0.
    void SetGridLineWidth(int value);
    // Scrolling; the refresh notification follows a change.
    void SetLeftCol(int value);
    void SetTopRow(int value);
    void SetClientSize(int width, int height);
    void TopLeftChanged();

    // The line colours are the cell layout's, so that the window that shows the grid and
    // the painting read one and the same colour. The setters repaint.
    TColor LineColor() const { return m_grid.LineColor(); } // silver is kept as grey
    TColor CompartLineColor() const { return m_grid.CompartLineColor(); }
    void SetLineColor(TColor value);
    void SetCompartLineColor(TColor value);

    // --- Picture ----------------------------------------------------------------------
    QImage &Picture() override { return m_picture; }
    QImage &RefBitmap() override { return m_refBitmap; }
    const QImage &Picture() const { return m_picture; }
    const QImage &RefBitmap() const { return m_refBitmap; }
    // Loads any picture file as an 8-bit picture; on failure nothing changes and error
    // says why.
    bool LoadPictureFile(const QString &fileName, QString *error = nullptr);
    // Replaces the picture; a null picture sets both counts to 0.
    void SetPicture(const QImage &bitmap);
    // SetPicture, RefreshView; saveUndo records a whole-picture step, otherwise the
    // document is marked modified; RefBitmap is rebuilt from the new picture.
    void SetPictureAndRefresh(const QImage &bitmap, bool saveUndo);
    // RefBitmap := an 8-bit copy of the picture with the palette.
    void RebuildDisplayBitmap();
    bool RefreshView();
    // Saves by extension; false (with a message) when no writer takes the extension or
    // writing fails. The old file is kept on failure. What the user should be told
    // although the file was written (a QS card whose needle count is not 144) is appended
    // to *warnings for the caller to show.
    bool SaveToFile(const QString &fileName, QStringList *warnings = nullptr, QString *error = nullptr);

    // --- The project file (.OVY), editor/patterngridproject.cpp ------------------------
    // Writes the grid's record copy (Mesh), picture and piece layout as a project file
    // through the atomic save; false with a message, writing nothing, when there is no
    // picture or the record cannot be stored; a failed write keeps the old file.
    bool WriteProjectFile(const QString &fileName, QString *error = nullptr);
    // Appends the four piece-layout values in file order.
    void WriteProjectTail(QByteArray &out) const;
    // Takes the four piece-layout values a project file gave and tells the main window
    // that the pattern-merge state may have changed.
    void ReadProjectTail(const std::array<std::int32_t, 4> &values);
    // Takes a picture read from a project file: its palette becomes the grid's, the
    // display copy and the repeat size follow it, as a picture loaded from a file.
    void TakeProjectPicture(const QImage &picture);

    // --- Zoom ---------------------------------------------------------------------------
    int ZoomLevel() const { return m_zoomLevel; }
    int PrevZoomLevel() const { return m_prevZoomLevel; }
    // The reduced-view factors (1.0 from level 9 up), as the last SetZoom worked them out.
    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }
    // The level (kept within 0 .. MaxZoomLevel) with the cell sizes, grid lines, scale
    // factors and counts that follow from it.
    void SetZoom(int level);
    // The zoom commands: SetZoom telling the main window only what a zoom changes (the
    // zoom state and the cell size), so that a step costs about one paint of the view.
    void ZoomTo(int level);
    void ZoomIn();
    void ZoomOut();
    double WarpDensity() const { return m_warpDensity; }
    double WeftDensity() const { return m_weftDensity; }
    void SetWarpDensity(double value) { m_warpDensity = value; }
    void SetWeftDensity(double value) { m_weftDensity = value; }
    // The factors of the current level and densities; stored as ScaleX and ScaleY.
    double CalcReducedScaleX();
    double CalcReducedScaleY();
    // Below level 9: the reduced view follows the picture and the counts; else nothing.
    void RebuildReducedView();
    // The picture cell that reduced cell (x, y) shows (nearest neighbour, never blended).
    int ReducedSourceCol(int x) const;
    int ReducedSourceRow(int y) const;
    // The reduced view as a picture (ColCount x RowCount below level 9), for readers
    // that need it whole.
    QImage ReducedBitmap() const;

    // --- Palette and colours -------------------------------------------------------
    const TPalette256 &Palette() const override { return m_palette; }
    const TPalette256 &DisplayPalette() const override { return m_displayPalette; }
    const TPalettePairs &PaletteItems() const { return m_paletteItems; }
    void SetPalette(const TPalette256 &palette);
    void SetPaletteFromHandle(const TLogPalette &handle, TPalette256 &palette);
    void ReadPaletteFromPicture();
    void SetDisplayPalette(const TPalette256 &palette) { m_displayPalette = palette; }
    // Writes the palette into the colour tables of Picture and RefBitmap.
    bool ApplyPalette(bool repaint);

    // The pens: each index with the palette colour it had when it was set (the drawing
    // objects take the colour).
    int ForeIndex() const { return m_foreIndex; }
    int BackIndex() const { return m_backIndex; }
    int TextIndex() const { return m_textIndex; }
    TColor ForeColor() const { return m_foreColor; }
    TColor BackColor() const { return m_backColor; }
    // Indexes outside 0 .. 255 are ignored.
    void SetBackColorIndex(int index);
    void SetForeColorIndex(int index); // the text index follows
    void SetTextColorIndex(int index); // the fore index follows
    // The palette colour of the fore and back index now.
    TColor GetForeColor() const;
    TColor GetBackColor() const;
    // The drawing objects take the fore and back colour and the fore index (the colour
    // setters call it).
    void ApplyColorsToTools();
    // A colour chosen in the palette bar or picked from the picture, as the main window
    // passes it on: the floating text, once there is one, takes it as its font colour.
    void ColorChosen(TColor color);

    // The colours marked by the palette bar (ColorSet); indexes outside 0 .. 255 are ignored.
    void IncludeColorIndex(int index);
    void ExcludeColorIndex(int index);
    // The transparent colours, which the palette bar shows with the document's palette.
    const TColorSet &TransColorSet() const { return m_transColorSet; }
    // The floating pictures the undo store keeps follow (IncludeTransColor).
    void SetTransColorSet(const TColorSet &colors);

    // Makes sure pure black is a palette colour; returns its index, -1 when the palette
    // has no free entry for it.
    int AddBlackToPalette();
    // A free palette entry given a colour no used entry has, recorded as a palette step;
    // -1 when no entry is free. reserved (when 0 .. 255) counts as used although no cell may
    // use it yet: the black the tiling just added. The picked-weave tool marks floats in it
    // (pickedtools.cpp).
    int AddMarkerColorToPalette(int reserved = -1);
    void GetBackColorEntry(std::uint8_t &index);

    // --- The picked-weave and picked-pattern tools (pickedtools.cpp) --------------------
    // The picks they work with are set by SelectTableTool and SelectStringTool below.
    // Told after a press of either tool: the floats the weave tool marked (null when none)
    // and what the user should read (a refusal, or floats left unmarked); empty otherwise.
    using TPickedToolReport = std::function<void(const TFloatMarking *marking, const QString &message)>;
    void SetPickedToolReport(TPickedToolReport report) { m_pickedToolReport = std::move(report); }
    // What a press of either tool (or a refused paste at a click) tells the report (nothing
    // when there is nothing to tell).
    void ReportPickedTool(const TFloatMarking *marking, const QString &message);

    // --- Document state ----------------------------------------------------------------
    // Changed since the last save by a change that recorded no undo step.
    bool Modified() const { return m_modified; }
    void ClearModified() { m_modified = false; }
    // False for a navigator: a grid that shows another grid's picture tells the main
    // window nothing.
    bool OwnsPicture() const { return m_ownsPicture; }
    void SetOwnsPicture(bool value) { m_ownsPicture = value; }
    // Receiver of the zoom notification: the main window at creation.
    QObject *StatusWnd() const { return m_statusWnd; }
    void SetStatusWnd(QObject *wnd) { m_statusWnd = wnd; }
    // The tool to return to after a temporary tool.
    TToolId PrevToolId() const { return m_prevToolId; }
    // Binding-point option.
    std::uint8_t AutoFillPoint() const { return m_autoFillPoint; }
    void SetAutoFillPoint(std::uint8_t value) { m_autoFillPoint = value; }
    // The manual binding-point tools' options, each the pair (value, not value):
    // SetJianSiStyle(true) is 合单 (false 合双), SetJianSiWay(true) is 纬向 (false 经向).
    std::array<bool, 2> JianSiStyle() const { return m_jianSiStyle; }
    std::array<bool, 2> JianSiWay() const { return m_jianSiWay; }
    void SetJianSiStyle(bool value) { m_jianSiStyle = { value, !value }; }
    void SetJianSiWay(bool value) { m_jianSiWay = { value, !value }; }
    // Piece height, piece width, piece count and gap, kept with the project file.
    const std::array<std::int32_t, 4> &RepeatDisplayValues() const { return m_repeatDisplayValues; }
    void SetRepeatDisplayValues(const std::array<std::int32_t, 4> &values) { m_repeatDisplayValues = values; }
    // The grid's copies of the main window's tiling options (weave tiling and pattern
    // tiling) and spray settings, which its tools work with; set when the document window
    // is set up.
    const TTileWeaveParam &TileWeaveParam() const { return m_tileWeaveParam; }
    void SetTileWeaveParam(const TTileWeaveParam &value) { m_tileWeaveParam = value; }
    const TTilePatternParam &TilePatternParam() const { return m_tilePatternParam; }
    void SetTilePatternParam(const TTilePatternParam &value) { m_tilePatternParam = value; }
    const TSprayOption &SprayOption() const { return m_sprayOption; }
    void SetSprayOption(const TSprayOption &value) { m_sprayOption = value; }
    // The crepe brush of the crepe-ground tool, set by its dialog.
    const TCrepeWeaveOption &CrepeWeaveOption() const { return m_crepeWeaveOption; }
    void SetCrepeWeaveOption(const TCrepeWeaveOption &value) { m_crepeWeaveOption = value; }
    // The weave and the pattern picked in the library browsers, which the picked-weave tool
    // (PickedWeave) and the picked-pattern tool (PickedPattern) work with: the tools keep
    // copies, with the names of their files (the pattern tool reads its pattern from the
    // file). Each selects its tool; an empty weave or picture drops the pick, and the tool
    // then refuses to tile.
    void SelectTableTool(const TWeaveArray &weave, const QString &fileName = QString());
    void SelectStringTool(const QImage &pattern, const QString &fileName = QString());
    const TWeaveArray &PickedWeave() const;
    const QString &PickedWeaveFile() const;
    const QImage &PickedPattern() const;
    const QString &PickedPatternFile() const;
    // Single and double start-point filters of the undo recorder, and a third flag.
    void SetPointStyle(const std::array<std::uint8_t, 3> &style) { m_pointStyle = style; }
    // The cells of the next cell-list undo step.
    void SetChangedCells(const TLineArray &cells) { m_changedCells = cells; }
    // The document record, copied in before every save.
    const TMesh &Mesh() const { return m_mesh; }
    void SetMesh(const TMesh &mesh) { m_mesh = mesh; }
    // Drawn over a navigator grid, in the pixels of the paint buffer before scrolling;
    // empty = none. Repaints.
    const TRect &NavigatorFrame() const { return m_navigatorFrame; }
    void SetNavigatorFrame(const TRect &frame);
    // The last cell reported under the pointer; (-1, -1) once a repaint has wiped out
    // what was drawn for it.
    TPoint LastCell() const { return m_lastCell; }
    void SetLastCell(TPoint cell) { m_lastCell = cell; }

    // --- Undo recording ---------------------------------------------------------------
    // The contract every operation that changes the picture follows. RefBitmap holds the
    // picture as it stood after the last recorded change; every recipe ends with RefBitmap
    // equal to Picture again. While UndoMode is UndoModeSuspended nothing is recorded.
    //  A. Cells changed, list known: edit Picture, hand every changed cell to
    //     RecordUndoStep, then RebuildReducedView and Repaint. Do not touch RefBitmap: the
    //     recorder compares each listed cell with it and puts back (in Picture) every cell
    //     whose old index is a protected colour, that a start-point filter rejects or that
    //     lies outside the selection. A listed cell outside the picture is skipped, never
    //     read or written, so strokes along an edge may list such cells.
    //  B. Cells changed, no list: edit Picture, then RecordPictureRectStep (or
    //     RecordRectUndoStep with the changed rectangle): the cells that differ from
    //     RefBitmap form the step, under the same rules.
    //  C. Whole picture transformed: the commands below; each drops the floating objects,
    //     hides the repeat view, transforms Picture, records a whole-picture step
    //     (SaveImageUndoStep) and brings RefBitmap, the repeat size and the step's settings
    //     up to date.
    //  D. A new picture in a new document: no step; SetPictureAndRefresh with saveUndo
    //     false, which marks the document modified.
    //  E. Grid settings or the repeat layout changed: UndoStore().SaveStateStep, then
    //     UndoStore().UpdateTopState once the change is made.
    //  F. Cyclic shifts: ShiftPictureVert / ShiftPictureHorz record the count only.
    //  G. Floating objects are steps of their own (UndoStore().PushObjectStep); palette
    //     changes record SaveLayerUndoStep with DisplayPalette still the old palette.
    // ChangedCells := points; a cell step from them (nothing for an empty list).
    void RecordUndoStep(const TLineArray &points);
    // A cell step for the cells of r (inclusive bounds) that differ from RefBitmap;
    // ignoreRules accepts every such cell, ignoreRegion ignores the selection. A large box
    // is kept packed (box and cells) rather than as a cell list.
    void RecordRectUndoStep(const TRect &r, bool ignoreRules, bool ignoreRegion);
    // RecordRectUndoStep over the whole picture, with the rules.
    void RecordPictureRectStep();
    // A whole-picture step: Picture and RefBitmap are written to temporary files. False
    // (with the reason, also kept as LastUndoError) when they cannot be written; the change
    // stays, unrecorded, and the document is marked modified.
    bool SaveImageUndoStep(QString *error = nullptr);
    // The step of a whole-picture command in its least form (see TUndo::SaveWholePictureStep).
    // False (with the reason, also kept as LastUndoError) when it cannot be kept; the
    // caller then puts the picture back from RefBitmap.
    bool SaveWholePictureUndoStep(QString *error = nullptr);
    // A palette step: Palette after, DisplayPalette before.
    bool SaveLayerUndoStep(QString *error = nullptr);
    void SetUndoRecording(std::uint8_t mode) { SetUndoMode(mode); }
    // One step back or forward; false (with the reason) when the step could not be
    // replayed, which leaves picture and history as they were.
    bool Undo(QString *error = nullptr);
    bool Redo(QString *error = nullptr);
    // The new indexes of the newest cell step written into Picture and RefBitmap.
    void ApplyStepPixels();

    // --- Selection --------------------------------------------------------------------
    // The selection in cells; empty = none. The region tool fills it.
    void SetSelectionRegion(const QRegion &region) { m_selectionRegion = region; }
    // Also lets go of the selection's shape (editor/patterngridtools.cpp).
    void ClearSelectionRegion();
    // The selection's area (a copy; empty without a selection).
    QRegion GetRegionHandle() const { return m_selectionRegion; }
    // The selection cleared, with and without a repaint.
    void ClearRegion();
    void CancelRegionObject();
    // Floating objects dropped; the whole picture selected as a ready rectangle.
    void SelectAll();
    // The selection filled with index, as one area step. The index itself, not the first
    // entry of its colour: a palette may show one colour under several indexes that weave
    // differently.
    void FillRegion(std::uint8_t index);
    // The selection's outline drawn into the picture in the fore index, as one area step.
    void PaintRegionBorder();
    // The content of the selection's box shifted by one cell, cyclically inside the box:
    // 1 down, -1 up, 2 left, -2 right; 3 and -3 down and up over the picture's full
    // height in the box's columns. One area step over the box; false without a selection.
    bool MoveRegionContent(int code);
    // Every cell of the selection's box (the whole picture without a selection) whose
    // palette colour is the colour of one of the indexes takes BackIndex. Records nothing.
    void ClearColorsInSelection(const std::vector<std::uint8_t> &indexes);

    // --- Floating objects (editor/patterngridfloating.cpp) -----------------------------
    // The pasted piece and the text lying over the grid, not yet stamped. Each is owned by
    // the undo store as the step that made it; the grid only points at the newest one
    // while that step is on the undo side, and forgets it otherwise.
    TBmp *FloatingBitmap() const { return m_floatingBitmap; }
    TInsertWord *FloatingText() const { return m_floatingText; }
    bool HasFloatingBitmap() const { return m_floatingBitmap != nullptr; }
    bool HasFloatingText() const { return m_floatingText != nullptr; }
    // Takes the piece as the floating picture at pos: events, canvases, transparent colours
    // (a piece that keeps chosen colours: every colour it does not keep), the view's
    // scales; a previous floating object is dropped first; the piece becomes an undo step
    // of its own; the selection is cleared.
    void AttachFloatingBitmap(std::unique_ptr<TBmp> bitmap, TPoint pos);
    // Both floating objects are let go: the picture is stamped where it lies as one area
    // step (one Undo brings it back floating), then forgotten. The first step of every
    // whole-picture command, of a press with another tool and of a save.
    void DropFloatingObjects();
    void ReleaseFloatingObjects();
    // Around a replay: 0 and 4 take up the object of the newest step when that step made
    // one, else forget both; 1 hides a shown object, 2 shows a hidden one; 3 stamps a shown
    // object into the picture without a step.
    void SetFloatingObjectsState(int mode) override;
    bool FloatingObjectShown() const { return !m_floatingHidden; }
    // The floating object moved by (dx, dy) cells; false without one.
    bool MoveFloatingObject(int dx, int dy);
    // The newest floating object is taken away (its step undone).
    void RemoveFloatingObject();
    // Takes the text as the floating text: events, canvases, the view's scales; a previous
    // floating object is dropped first; the text becomes an undo step of its own; the
    // selection is cleared.
    void AttachFloatingText(std::unique_ptr<TInsertWord> text);
    // Who shows the text dialog; without one the text tool makes nothing.
    void SetInsertWordAsker(TInsertWordAsker *asker) { m_insertWordAsker = asker; }
    // The move tool on a floating picture: a press that hits its frame or a handle takes
    // it (false otherwise); a drag with it taken moves, stretches or turns it by the cells
    // the pointer went (Shift keeps the column, Ctrl the row) and empties the redo side; a
    // release ends the drag. The cursor follows what lies under the pointer.
    bool TakeFloatingAt(TPoint cell);
    // Takes it by its inside wherever the pointer is (false without one).
    bool TakeFloatingInside(TPoint cell);
    bool FloatingTaken() const { return m_floatingTaken; }
    void DragFloatingTo(TPoint cell, bool shift, bool ctrl);
    void EndFloatingDrag();
    void HoverFloatingCursor(TPoint cell);
    // Where the move tool was pressed.
    TPoint MoveStart() const { return m_moveStart; }
    void SetMoveStart(TPoint cell) { m_moveStart = cell; }
    // A transparent colour of the grid and of every floating picture the undo store keeps.
    void IncludeTransColor(std::uint8_t index);
    void ExcludeTransColor(std::uint8_t index);

    // --- Clipboard (editor/patterngridclipboard.cpp) ------------------------------------
    // The clipboard the grid reads and writes: the system's unless set (tests set their own).
    void SetClipboard(TGridClipboard *clipboard) { m_clipboard = clipboard; }
    TGridClipboard &Clipboard() const;
    // Who answers the palette question of a paste from elsewhere; without one such a paste
    // is refused.
    void SetPaletteChoiceAsker(TPaletteChoiceAsker *asker) { m_paletteAsker = asker; }
    // The selection (only the listed indexes when withColor), else the floating picture,
    // as a "CF_BMP" block on the clipboard; false when there is nothing to copy.
    bool Copy(const std::vector<std::uint8_t> &colors = {}, bool withColor = false);
    // Copy, then the selection's cells take the back index, one step.
    bool Cut();
    // The clipboard's piece as the floating picture ("CF_BMP", a plain image, then
    // "CF_256Bitmap"): at pos when atPos, else in the middle of the view, and the move
    // tool follows. False (nothing changed, error says why) when nothing can be pasted or
    // the palette question is cancelled.
    bool PasteFromClipboard(TPoint pos, bool atPos, QString *error = nullptr);
    // How the last paste joined the palettes: 0 none, 3 both, 4 the document's, 5 the
    // piece's.
    std::uint8_t PasteMode() const { return m_pasteMode; }
    // Where the paste-at-click tool pastes (the cell it was pressed on).
    TPoint PastePos() const { return m_pastePos; }
    void SetPastePos(TPoint pos) { m_pastePos = pos; }
    // This grid's mark on the clipboard blocks it writes: a paste of a block with this
    // mark asks nothing.
    QByteArray ClipboardOwnerToken() const;
    // Whether the clipboard holds something to paste.
    bool ClipboardHasPiece() const;
    // Counts the changes that may move cells: whole-picture commands, shifts and pictures
    // taken whole (a new picture, an undone or redone whole-picture step). What keeps cell
    // positions across edits compares it.
    std::uint32_t WholePictureChanges() const { return m_wholePictureChanges; }

    // --- Whole-picture commands -----------------------------------------------------
    // Each records one whole-picture step (the shifts a shift step) and leaves RefBitmap
    // equal to Picture; false, with nothing recorded, when the picture operation refuses.
    bool MirrorLeftImage(); // the left half mirrored onto the right
    bool MirrorRightImage();
    bool MirrorTopImage();
    bool MirrorBottomImage();
    bool LinkLeftRight();
    bool LinkTopBottom();
    // The selection's box (clamped to the picture), or the whole picture without one.
    bool FlipLeftRight();
    bool FlipTopBottom();
    bool Rotate180();
    bool Rotate270(); // a quarter turn clockwise
    bool Rotate90(); // a quarter turn counter-clockwise
    // The size dialog calls this one: the picture resized as one undoable command, mode 0
    // keeping the top-left cells one to one (new cells index 0), any other mode
    // stretching the picture. SetColCount and SetRowCount are the grid's count setters:
    // they fill with BackIndex and record nothing.
    bool ResizePicture(int newWidth, int newHeight, std::uint8_t mode);
    // The picture turned about its centre clockwise by angle (radians; anticlockwise when
    // negative), cells it no longer covers in the colour nearest black; the selection goes.
    // False (nothing changed, error says why) when the result would be too large.
    bool RotatePictureByAngle(double angle, QString *error = nullptr);
    // The picture becomes the box of the selection; false without a selection.
    bool CropToRegion();
    // Blank columns removed inside the selection, or inside the repeat unit without one.
    bool RemoveBlank();
    bool JumpStart();
    // Every cell := BackIndex.
    bool ClearPicture();
    // Mode 0 inserts count rows (rows) or columns before pos (from 0) in the back colour;
    // mode 1 deletes count lines from line pos (from 1). With record a whole-picture step;
    // RefBitmap follows either way.
    bool InsertDeleteLines(int mode, int pos, int count, bool rows, bool record);
    // A whole-picture command of another file (selvedges, warp removal): transform changes
    // Picture (it may replace it by one of another size); false when it refuses.
    bool RunWholePictureCommand(const std::function<bool(QImage &picture)> &transform);

    // --- Repeat view ------------------------------------------------------------------
    // The layout without its flags (unit size, counts, flip codes, offsets, style, offset).
    void SetRepeatInfo(const TRepeatPic &info);
    // Whether the document has a layout to show (the repeat-display actions apply).
    void SetRepeatDisplayOn(bool on);
    // Shows the picture tiled by its layout, or its first unit again. When the picture it
    // replaces holds cells the new one does not reproduce, one whole-picture step is
    // recorded first, so that Undo brings them back; false (nothing changed) when that
    // step cannot be written or the layout is too large to show.
    bool SetRepeatView(bool show, QString *error = nullptr);
    bool RepeatViewShown() const { return m_repeatInfo.Flags[1] != 0; }
    // The repeat-layout dialog's result in place: the picture becomes composed (8-bit, the
    // grid's palette), shown as the layout (its unit size, counts, flips, style and
    // offsets), with the repeat display on. When Undo can give the picture back through
    // the layout alone (the view was hidden and composed starts with the picture as it
    // is) the change is a settings step; otherwise a whole-picture step keeps it. False
    // (nothing changed) when that step cannot be written.
    bool ApplyRepeatLayout(const QImage &composed, const TRepeatPic &layout, QString *error = nullptr);
    // The outline of one unit; repaints.
    void SetRepeatDisplay(bool show);
    // The unit outline: a locked rectangle through the cells (0, 0) and (unit width - 1,
    // unit height - 1), mode Ready, while the document has a layout to show and the
    // outline is asked for; without vertices otherwise. Painted with the view's cells.
    const TRectangleLine &RepeatFrameObject() const { return *m_repeatFrameObject; }
    // Its corners, inclusive; all 0 when none is shown.
    TRect RepeatFrame() const;
    // Unit := picture size, counts 1 x 1, flags cleared.
    void ResetRepeatSize();
    // Unit := picture size, counts kept.
    void UpdateRepeatSize();
    // Unit := picture size, counts 1 x 1, style 1, no arrays, offset 0, flags cleared.
    void ResetRepeatInfo();
    // The repeat state sent to the main window: 0 without a layout to show, else 2 (view
    // shown) or 3, plus 2 (unit outline shown) or 4.
    int RepeatState() const;

    // --- Painting -------------------------------------------------------------------
    // Paints the client area into buffer (resized to the client size when needed).
    // Painting changes nothing of the grid (the unit outline only learns where the view
    // starts).
    void Paint(QImage &buffer) const;
    // Number of visible columns and rows painted (one partly visible cell included).
    int PaintColCount() const;
    int PaintRowCount() const;

    // --- The navigator, editor/patterngridnavigator.cpp ---------------------------------
    // A navigator grid shows another grid's picture and palette without holding them: no
    // copy is made, so the source's next cell write never copies a large picture because
    // of the navigator. The grid stops owning a picture (it tells the main window
    // nothing) and shows one pixel per cell. The source must outlive the reference;
    // ShowPictureOf(nullptr) drops it and shows nothing.
    void ShowPictureOf(const TPatternGrid *source);
    const TPatternGrid *PictureSource() const { return m_pictureSource; }
    // (LeftCol, TopRow, last fully visible column, last fully visible row), in grid cells.
    TRect GetVisibleCellRect() const;
    // Scrolls so that r (grid cells; right and bottom one past the last cell) is shown: a
    // rectangle against the last column or row scrolls as far as the grid goes, any other
    // to its left column and top row (a top or left of 1 counts as 0).
    void SetVisibleCellRect(const TRect &r);
    // The refresh notification with 0: the navigator's frame follows the view.
    void NotifyViewChanged();
    // The undo and redo counts (WM_UNDOSTATE) and what can be copied, pasted and cut
    // (WM_EDITSTATE: 1 with a selection, + 2 when the clipboard holds a picture; cut with
    // a selection). Only a grid that owns its picture tells the main window anything.
    void NotifyUndoState();
    void NotifyEditState();

    // --- Colour flash, editor/patterngridflash.cpp --------------------------------------
    // The cells of the fore colour blink white and black on screen, one colour per tick,
    // for FlashTime seconds of FlashFrequence-millisecond ticks; the main window is
    // disabled meanwhile. Only the colours painted change: the palette and the picture's
    // colour table are never written, so nothing of the document can be left blinking.
    // A flash asked for during a flash is ignored. The caller drives the ticks.
    void StartFlash(int tag);
    // One tick; true when the flash ended with it (the colour is shown as it was).
    bool FlashTick();
    // Ends a running flash at once; nothing without one.
    void StopFlash();
    bool Flashing() const { return m_flash.Active; }
    int FlashTag() const { return m_flash.Tag; }
    // The palette index that blinks (the fore index at the start).
    int FlashIndex() const { return m_flash.Index; }
    // The colour painted for index: the palette's, or the blink colour during a flash.
    QRgb PaintedColor(int index) const;

    // --- The undo store ----------------------------------------------------------------
    // The grid's undo history; it lives as long as the grid.
    TUndo &UndoStore() { return *m_undoStore; }
    // The message of the last step that could not be recorded (empty when none).
    const QString &LastUndoError() const { return m_lastUndoError; }

    // --- The undo store's side ------------------------------------------------------
    std::uint8_t UndoMode() const override { return m_undoMode; }
    void SetUndoMode(std::uint8_t mode) override { m_undoMode = mode; }
    const TLineArray &ChangedCells() const override { return m_changedCells; }
    TColorSet ColorSet() const override { return m_colorSet; }
    std::array<std::uint8_t, 3> PointStyle() const override { return m_pointStyle; }
    QRegion SelectionRegion() const override { return m_selectionRegion; }
    const TRepeatPic &RepeatInfo() const override { return m_repeatInfo; }
    TParam CurrentSettings() const override;
    void RestoreSettings(const TParam &settings, bool applyRepeatView) override;
    TToolId ToolId() const override { return m_toolId; }
    // The pending shape kept with a step, and brought back by its undo.
    std::unique_ptr<TUndoObject> CopyDrawObject() const override;
    void RestoreDrawObject(const TUndoObject &shape, TToolId toolId) override;
    void ResetDrawObject() override;
    void ReplacePicture(const QImage &picture) override;
    void ReplacePictureHeldByRef(const QImage &picture) override;
    void ReplacePalette(const TPalette256 &palette) override;
    // Cyclic shifts of the whole picture (rows count .. H-1 first): the commands, which
    // record a shift step, and their replay (recording suspended).
    void ShiftPictureVert(int count) override;
    void ShiftPictureHorz(int count) override;
    void ReapplyZoom() override { SetZoom(m_zoomLevel); }
    void SetModified() override { m_modified = true; }
    void Repaint() override;
    void NotifyMainWindow() override;
    void NotifyRefreshView(int mode) override;
    void NotifyPatternSize(int cols, int rows) override;
    void NotifyPenWidth() override;

    // --- Drawing on the grid: tools, mouse and keys (editor/patterngridtools.cpp) ---------
    // The window turns the pointer into picture cells (below level 9 through the reduced
    // view, once) and hands them in as cell events; every tool then works headless on the
    // model. ViewCell is the cell of the window's own grid (the reduced cell below level 9),
    // which only the view drag (MoveGrid) reads.
    enum class TMouseButton : std::uint8_t { Left, Right };
    struct TCellEvent {
        TPoint Cell; // picture cell
        TMouseButton Button = TMouseButton::Left;
        bool Shift = false;
        bool Ctrl = false;
        TPoint ViewCell { -1, -1 }; // (-1, -1): the same as Cell
    };
    // The main window's entry: the tool becomes id (see the comments in the source).
    void SetDrawTool(TToolId id);
    // Replaces the object in field by a new one of the tool's class (none for a tool
    // without one); a pending shape is committed first unless keepPending.
    void CreateDrawObject(std::unique_ptr<TCustomLine> &field, TToolId id, bool keepPending);
    void MouseDown(const TCellEvent &e);
    // held: the button is down.
    void MouseMove(const TCellEvent &e, bool held);
    void MouseUp(const TCellEvent &e);
    // The text tool's press (editor/patterngridtext.cpp): the text dialog, filled from the
    // floating text when the press hits it (else with the pressed cell), makes a new
    // floating text or changes the one hit; then the move tool follows, released at the
    // cell.
    void InsertWordAt(const TCellEvent &e);
    // True once after a press that ended in a dialog (which took the release): the window
    // then treats the button as up.
    bool TakePressEnded() { return std::exchange(m_pressEnded, false); }
    // One tick of the tool timer (a spray burst while the spray button is held).
    void ToolTimerTick();
    bool ToolTimerOn() const { return m_toolTimerOn; }
    // One spray burst at SprayCenter; its own cells make one undo step.
    void SprayBurst();
    TPoint SprayCenter() const;
    // The random source of the spray, seedable so that a burst can be replayed.
    void SetRandomSeed(std::uint32_t seed);
    // Pen widths of the drawing objects (kept in the running state for every grid).
    void SetHorzPenWidth(int width);
    void SetVertPenWidth(int width);
    // A key of the drawing tools as the main window passes it on.
    void HandleToolKey(TToolKey key);
    // Arrow keys (Qt::Key_Left .. Qt::Key_Down) scroll the view; false for other keys
    // or while ArrowScroll is off.
    bool HandleArrowKey(int key, bool ctrl);
    bool ArrowScroll() const { return m_arrowScroll; }
    // The needle move: the arrow keys shift the selection's content (and the plus and minus
    // keys shift it over the picture's height) instead of scrolling.
    bool MoveWarp() const { return m_moveWarp; }
    void SetMoveWarp(bool value) { m_moveWarp = value; }
    void SetArrowScroll(bool value) { m_arrowScroll = value; }
    // The tool's drawing object and the selection's (null for tools without one).
    TCustomLine *DrawObject() const { return m_drawObject.get(); }
    TCustomLine *RegionObject() const { return m_regionObject.get(); }
    // The pointer cursor of the current tool: a TCursorId, 0 for the arrow, or a Qt cursor
    // shape negated (the size cursors).
    int ToolCursor() const { return m_toolCursor; }
    TPoint DownCell() const;
    bool ColorPicking() const { return m_colorPicking; }
    bool GridDragging() const;
    // The cross-hair over the cell under the pointer, from the "CursorStyle" settings.
    void SetCrossHair(const TCursorStyleOption &style);
    const TCursorStyleOption &CrossHair() const { return m_crossHair; }

    // --- What the grid tools (editor/tools/) work with ----------------------------------
    // The slots of the drawing object and of the selection's object, for the tools that
    // make a new object in them (CreateDrawObject).
    std::unique_ptr<TCustomLine> &DrawObjectSlot() { return m_drawObject; }
    std::unique_ptr<TCustomLine> &RegionObjectSlot() { return m_regionObject; }
    // Commits the pending shape into the picture in the fore index and records it.
    void FinishDrawObject(TCustomLine &object);
    // A shape tool started a shape: nothing to undo or redo until it is committed.
    void NotifyShapeStarted();
    void SetToolCursor(int id);
    // The tool timer (ToolTimerTick) on or off.
    void SetToolTimer(bool on);
    bool InsidePicture(TPoint cell) const;
    TPatternGridViewport *Viewport() const { return m_viewport; }
    // The fore index from the pressed cell over its 4-connected cells of the same index,
    // and over every cell of that index in the selection's box: each one undo step.
    void FloodFillAt(TPoint cell);
    void ChangeColorAt(TPoint cell);
    // The picture mapped onto the four corners, as a whole-picture command; false when
    // the mapping refuses.
    bool WarpPictureToCorners(const std::array<TPoint, 4> &corners);
    // Shows or hides a pending curve outline of the selection.
    void ToggleSelectionCurve();
    // A new object of tool id in the selection's slot; the selection goes with the outline
    // it replaces.
    void ReplaceSelectionObject(TToolId id);
    bool ToolKeepsShapeCopy() const override;

private:
    // --- Tool dispatch (patterngridtools.cpp) ---------------------------------------
    void initTools();
    TGridTool *currentTool();
    // The selection is the area of the selection's outline (none while it has no area).
    void syncSelection();
    void handleSpace();
    // The Ctrl (or right-button) colour pick in place of the tool; false when the click is
    // the tool's.
    bool startColorPick(TGridTool *tool, const TCellEvent &e);
    // The fill and colour-change tools at a cell, each recorded as one packed area step.
    void fillAreaAt(TPoint cell);
    void changeColorAt(TPoint cell);
    void recordFilledArea(const QRect &box, long long changed, bool rules);

    void calcCellSize();
    // The level with its cell sizes, grid lines, scale factors and counts; tells nobody.
    void applyZoomLevel(int level);
    void applyZoomCounts();
    void layoutChanged();
    // refHoldsIt: RefBitmap already holds the picture's cells and takes only its colours.
    void takeLoadedPicture(const QImage &picture, bool refHoldsIt = false);
    // RefBitmap shares the picture's cells (no copy) when their colour table is the palette;
    // false (nothing done) otherwise.
    bool shareRefWithPicture();
    // RefBitmap after a command or replay that left a picture of another size.
    void rebuildRefAfterResize();
    void notifyPalette();
    // The first palette entry no cell of the picture uses, or -1; counts gets the use of
    // every entry.
    int firstUnusedEntry(TColorCounts &counts) const;
    // Makes palette the grid's palette as one undoable palette step.
    void changePaletteAsStep(const TPalette256 &palette);
    void notifyZoom();
    // A flip or turn that a command records as the operation itself, not as cells.
    struct TTurnRecord {
        TPictureTurn Turn = TPictureTurn::HalfTurn;
        TRect Box;
    };
    // Recipe C after the transform: notifications, the step and the follow-ups. When the
    // step cannot be kept, the picture comes back from RefBitmap and the result is false.
    bool finishWholePictureCommand(bool sizeChanged, const TTurnRecord *turn = nullptr);
    // Recipe C around transform, which changes Picture (and may read RefBitmap); a
    // transform that fills turn is recorded as that operation.
    bool transformPicture(
        const std::function<bool(QImage &picture)> &transform, const TTurnRecord *turn = nullptr);
    bool flipPicture(TPictureTurn turn);
    bool turnPicture(TPictureTurn turn);
    // Takes the picture back from RefBitmap after a step that could not be kept; false
    // (nothing changed) when there is no RefBitmap to take it from.
    bool restorePictureFromRef();
    void shiftPicture(int count, bool rows);
    // The first unit of RefBitmap, and the layout composed from it.
    QImage repeatUnit() const;
    bool composeRepeat(const QImage &unit, QImage &composed, QString *error);
    void buildReducedMaps();
    void clearRepeatFrame();
    void setPenIndexes(int fore, int back);
    // The steps of Paint (patterngridpaint.cpp), in their order.
    struct TPaintLayout;
    TPaintLayout paintLayout() const;
    bool paintVisibleCells(const QImage &picture, const TPaintLayout &layout) const;
    void paintRepeatOutline() const;
    void paintShapes() const;
    void prepareGridLines(const TPaintLayout &layout) const;
    void stretchCells(QImage &buffer, const TPaintLayout &layout) const;
    void paintCompartLines(QImage &buffer, const TPaintLayout &layout) const;
    void paintVertexMarkers(QImage &buffer) const;
    void paintNavigatorFrame(QImage &buffer) const;
    void paintCrossHair(QImage &buffer, const TPaintLayout &layout) const;

    TIDrawGridLayout m_grid;
    TPatternGridViewport *m_viewport = nullptr;
    QImage m_picture;
    QImage m_refBitmap;
    TPalette256 m_palette {};
    TPalette256 m_displayPalette {};
    TPalettePairs m_paletteItems {};
    double m_warpDensity = 1.0;
    double m_weftDensity = 1.0;
    std::uint8_t m_undoMode = UndoModeRecord;

    std::uint8_t m_zoomLevel = BaseZoomLevel;
    std::uint8_t m_prevZoomLevel = 16;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;

    std::uint8_t m_foreIndex = 0;
    std::uint8_t m_backIndex = 0;
    std::uint8_t m_textIndex = 0;
    TColor m_foreColor = 0;
    TColor m_backColor = 0;
    TColorSet m_colorSet;
    TColorSet m_transColorSet;

    bool m_modified = false;
    bool m_ownsPicture = true;
    QObject *m_statusWnd = nullptr;
    TToolId m_toolId = TToolId::Move;
    TToolId m_prevToolId = TToolId::NoTool;
    std::uint8_t m_autoFillPoint = 1;
    std::array<bool, 2> m_jianSiStyle { true, false };
    std::array<bool, 2> m_jianSiWay { true, false };
    std::array<std::int32_t, 4> m_repeatDisplayValues { 1, 4, 0, 0 };
    std::array<std::uint8_t, 3> m_pointStyle { 0, 0, 1 };
    TTileWeaveParam m_tileWeaveParam;
    TTilePatternParam m_tilePatternParam;
    TPickedToolReport m_pickedToolReport;
    TSprayOption m_sprayOption;
    TCrepeWeaveOption m_crepeWeaveOption;
    TRepeatPic m_repeatInfo;
    TLineArray m_changedCells;
    QRegion m_selectionRegion;
    // Owned here and never null; the pointer keeps the tools' header out of this one.
    std::unique_ptr<TRectangleLine> m_repeatFrameObject;
    TMesh m_mesh;
    TRect m_navigatorFrame;
    TPoint m_lastCell { -1, -1 };
    std::uint32_t m_wholePictureChanges = 0;
    QString m_lastUndoError;
    const TPatternGrid *m_pictureSource = nullptr; // a navigator's picture, not owned
    // What is painted: the source's picture and palette for a navigator, else the grid's.
    const QImage &shownPicture() const { return m_pictureSource ? m_pictureSource->m_picture : m_picture; }
    const TPalette256 &shownPalette() const
    {
        return m_pictureSource ? m_pictureSource->m_palette : m_palette;
    }
    struct TFlashState {
        bool Active = false;
        int Index = 0;
        int Ticks = 0;
        int Tag = 0;
        QRgb Shown = 0;
    } m_flash;

    // Reduced view: picture column of each reduced column, picture row of each reduced row.
    std::vector<int> m_reducedCols;
    std::vector<int> m_reducedRows;
    // Painting scratch, kept between paints so that a paint allocates nothing; it holds
    // nothing of the grid's state.
    // m_viewBitmap is a view of m_viewStore's cells, which never shrinks.
    mutable QImage m_viewBitmap;
    mutable std::vector<QRgb> m_viewStore;
    mutable std::vector<int> m_stretchMap;
    std::unique_ptr<TUndo> m_undoStore;

    // The drawing objects, which the painting shows, and the tools, which keep their own
    // state.
    std::unique_ptr<TCustomLine> m_drawObject;
    std::unique_ptr<TCustomLine> m_regionObject;
    TToolId m_drawObjectTool = TToolId::Rectangle; // the tool DrawObject was made for
    std::unique_ptr<TGridToolBox> m_tools;
    int m_toolCursor = 0;
    bool m_colorPicking = false; // a Ctrl pick in place of the tool, until the release
    bool m_toolTimerOn = false;
    bool m_toolPressed = false; // the last press reached the tool: its release does too
    bool m_arrowScroll = true;
    bool m_moveWarp = false;
    TCursorStyleOption m_crossHair;

    // Floating objects and the clipboard (patterngridfloating.cpp, patterngridclipboard.cpp).
    void forgetFloatingObjects();
    // Forgets an object whose step left the undo side.
    void checkFloatingObjects();
    bool stampFloatingBitmap(bool record);
    bool stampFloatingText(bool record);
    // One area step for the cells a floating object was stamped into (bounds clipped to the
    // picture), recorded after the grid lets go of the object.
    void recordStampedBox(const TRect &bounds);
    bool turnFloatingText(double delta);
    void paintFloatingText() const;
    void takeUpFloatingText(TInsertWord &text);
    bool joinPastedPalette(TBmp &piece, QString *error);
    bool askPastePalette(const QMimeData &data, QString *error);

public:
    // What one clipboard format gave: nothing of it, the piece, or an end (a cancelled
    // question, a refused picture).
    enum class TPasteStep : std::uint8_t { Absent, Pasted, Stopped };

private:
    TPasteStep pasteFloatingBlock(const QMimeData &data, TPoint pos, bool atPos, QString *error);
    TPasteStep pastePlainImage(const QMimeData &data, QString *error);
    TPasteStep paste256Bitmap(const QMimeData &data, TPoint pos, bool atPos, QString *error);
    // The floating text's "CF_WORD" block (absent until the grid holds floating text).
    TPasteStep pasteFloatingText(const QMimeData &data, TPoint pos, bool atPos, QString *error);
    void writeFloatingToClipboard(TBmp &piece);
    TPoint defaultPastePos() const;
    void applyScalesToFloatingPictures();
    bool flipFloatingBitmap(bool horizontal);
    bool turnFloatingBitmap(double delta);
    void paintFloatingBitmap() const;
    TBmp *m_floatingBitmap = nullptr; // owned by the undo store
    TInsertWord *m_floatingText = nullptr; // owned by the undo store
    TInsertWordAsker *m_insertWordAsker = nullptr;
    bool m_pressEnded = false;
    bool m_floatingHidden = false;
    bool m_replayingFloating = false; // between the two calls around a replay
    bool m_floatingTaken = false; // the move tool holds the floating picture
    bool m_floatingDragged = false;
    TPoint m_floatingDragLast;
    TPoint m_moveStart { -1, -1 };
    TGridClipboard *m_clipboard = nullptr;
    TPaletteChoiceAsker *m_paletteAsker = nullptr;
    std::uint8_t m_pasteMode = 0;
    TPoint m_pastePos { 0, 0 };
    std::uint64_t m_gridId = 0;
};
