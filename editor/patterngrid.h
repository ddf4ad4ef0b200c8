#pragma once
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

#include "core/maintypes.h"
#include "core/palette.h"
#include "core/typedefine.h"
#include "core/undo.h"
#include "core/undogrid.h"
#include "editor/idrawgridlayout.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// What the model asks of the window that shows it.
class TPatternGridViewport {
public:
    virtual ~TPatternGridViewport() = default;
    // The cell sizes, counts or scroll position changed: scroll ranges follow.
    virtual void LayoutChanged() = 0;
    virtual void Repaint() = 0;
};

class TPatternGrid : public TUndoGridLink {
public:
    static constexpr int BaseZoomLevel = 9; // one screen pixel per cell
    static constexpr TColor clSilver = 0xC0C0C0;
    static constexpr TColor clGray = 0x808080;

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

    TColor Color = 0xFFFFFF;     // colour of lines whose option is off
    TColor LineColor = 0;        // grid lines; silver is painted grey
    TColor CompartLineColor = 0; // compartment lines

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

    // --- Zoom ---------------------------------------------------------------------------
    std::uint8_t ZoomLevel = BaseZoomLevel;
    std::uint8_t PrevZoomLevel = 16;
    int MaxZoomLevel = 24;
    double ScaleX = 1.0;
    double ScaleY = 1.0;
    void SetZoom(int level); // kept within 0 .. MaxZoomLevel
    void ZoomIn();
    void ZoomOut();
    double WarpDensity() const { return m_warpDensity; }
    double WeftDensity() const { return m_weftDensity; }
    void SetWarpDensity(double value) { m_warpDensity = value; }
    void SetWeftDensity(double value) { m_weftDensity = value; }
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

    std::uint8_t ForeIndex = 0;
    std::uint8_t BackIndex = 0;
    std::uint8_t TextIndex = 0;
    TColor ForeColor = 0;
    TColor BackColor = 0;
    void SetBackColorIndex(int index);
    void SetForeColorIndex(int index);
    void SetTextColorIndex(int index);
    TColor GetForeColor() const;
    TColor GetBackColor() const;

    TColorSet ColorSetBits;
    void IncludeColorIndex(int index);
    void ExcludeColorIndex(int index);

    // Makes sure pure black is a palette colour; returns its index, -1 when the palette
    // has no free entry for it.
    int AddBlackToPalette();
    void GetBackColorEntry(std::uint8_t &index);

    // --- Document state ----------------------------------------------------------------
    bool Modified = false;
    bool OwnsPicture = true;
    // Receiver of the zoom notification: the main window at creation.
    QObject *StatusWnd = nullptr;
    int UndoLimit = 1;
    std::uint8_t ToolIdValue = 8;
    std::uint8_t PrevToolId = 30;
    std::uint8_t AutoFillPoint = 1;
    std::array<std::int32_t, 4> RepeatDisplayValues{1, 4, 0, 0};
    std::array<std::uint8_t, 3> PointStyleValue{0, 0, 1};
    TRepeatPic RepeatInfoValue;
    TLineArray ChangedCellsValue;
    TMesh Mesh;
    TRect NavigatorFrame;  // in the pixels of the paint buffer before scrolling; empty = none
    TPoint LastCell{-1, -1};
    void ResetRepeatSize();
    void UpdateRepeatSize();

    // --- Painting -------------------------------------------------------------------
    // Paints the client area into buffer (resized to the client size when needed).
    void Paint(QImage &buffer);
    // Number of visible columns and rows painted (one partly visible cell included).
    int PaintColCount() const;
    int PaintRowCount() const;

    // --- The undo store ----------------------------------------------------------------
    // The grid's undo history; it lives as long as the grid.
    TUndo &UndoStore() { return *m_undoStore; }
    // The message of the last step that could not be recorded (empty when none).
    QString LastUndoError;

    // --- The undo store's side ------------------------------------------------------
    std::uint8_t UndoMode() const override { return m_undoMode; }
    void SetUndoMode(std::uint8_t mode) override { m_undoMode = mode; }
    const TLineArray &ChangedCells() const override { return ChangedCellsValue; }
    TColorSet ColorSet() const override { return ColorSetBits; }
    std::array<std::uint8_t, 3> PointStyle() const override { return PointStyleValue; }
    QRegion SelectionRegion() const override { return {}; }
    const TRepeatPic &RepeatInfo() const override { return RepeatInfoValue; }
    TParam CurrentSettings() const override;
    void RestoreSettings(const TParam &settings, bool applyRepeatView) override;
    std::uint8_t ToolId() const override { return ToolIdValue; }
    std::unique_ptr<TUndoObject> CopyDrawObject() const override { return nullptr; }
    void RestoreDrawObject(const TUndoObject &, std::uint8_t toolId) override { ToolIdValue = toolId; }
    void ResetDrawObject() override {}
    void SetFloatingObjectsState(int) override {}
    void ReplacePicture(const QImage &picture) override;
    void ReplacePalette(const TPalette256 &palette) override;
    void ShiftPictureVert(int count) override;
    void ShiftPictureHorz(int count) override;
    void ReapplyZoom() override { SetZoom(ZoomLevel); }
    void SetModified() override { Modified = true; }
    void Repaint() override;
    void NotifyMainWindow() override;
    void NotifyRefreshView(int mode) override;
    void NotifyPatternSize(int cols, int rows) override;
    void NotifyPenWidth() override;

private:
    void calcCellSize();
    void applyZoomCounts();
    void layoutChanged();
    void takeLoadedPicture(const QImage &picture);
    void notifyPalette();
    void notifyZoom();
    void recordWholePictureStep();
    void recordPaletteStep();
    void buildReducedMaps();

    TIDrawGridLayout m_grid;
    TPatternGridViewport *m_viewport = nullptr;
    QImage m_picture;
    QImage m_refBitmap;
    TPalette256 m_palette{};
    TPalette256 m_displayPalette{};
    TPalettePairs m_paletteItems{};
    double m_warpDensity = 1.0;
    double m_weftDensity = 1.0;
    std::uint8_t m_undoMode = UndoModeRecord;
    // Reduced view: picture column of each reduced column, picture row of each reduced row.
    std::vector<int> m_reducedCols;
    std::vector<int> m_reducedRows;
    // Painting scratch, kept between paints.
    QImage m_viewBitmap;
    std::vector<int> m_stretchMap;
    std::unique_ptr<TUndo> m_undoStore;
};
