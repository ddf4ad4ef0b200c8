#pragma once
// TDrawObject and TCustomPoint: the base of the drawing tools, and a tool's vertex.
// A drawing tool collects the cells the user clicks or drags on the pattern grid, paints
// a rubber-band preview and vertex markers on the grid's screen image, lists the cells of
// its shape, and commits the shape into the 8-bit picture (one pixel per cell) by writing
// the pen's colour index; a locked tool outlines a selection instead and never writes into
// the picture. The grid owns one tool at a time, creates it by class name
// (drawtoolregistry.h), feeds it points and listens to its events; the undo store keeps
// copies made by AssignTool.
//
// Points handed in by the grid are screen points of the grid's cell view: the view's
// cells are picture cells times the scale (below 1 in the grid's reduced views). A screen
// point becomes a cell as (Round(X / ScaleX), Round(Y / ScaleY)) and a cell a screen point
// as (Round(X x ScaleX), Round(Y x ScaleY)), halves to even.

#include "core/base/cursors.h"
#include "core/base/geometry.h"
#include "core/palette/palette.h"
#include "core/undo/undorecord.h"
#include "editor/cellgridlayout.h"
#include "editor/tools/cellmask.h"
#include "editor/tools/cellraster.h"
#include "editor/tools/previewpaint.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <memory>

// The state of a tool's shape. The numbers are the ones the grid stores and compares.
enum class TDrawMode : std::uint8_t {
    New = 0, // points are being set (the free-hand tool commits only now)
    Idle = 1, // waiting for the first point, or finished: no preview is painted
    Selected = 2, // the shape is selected (a press inside drags it), or placed by a dialog
    VertexTaken = 3, // one vertex is taken by the pointer
    Growing = 4,
    Editing = 5,
    Ready = 6, // ended: a ready shape, or every vertex deleted
};

// What the last hit test found.
enum class THitState : std::uint8_t { Vertex = 0, Shape = 2, Nothing = 3 };

// Pen and brush values of the style operation, by their stored numbers.
enum class TPenMode : std::uint8_t { Black = 0, White = 1, Copy = 4, NotXor = 15 };
enum class TPenStyle : std::uint8_t { Solid = 0, Dash = 1, Dot = 2 };
enum class TBrushStyle : std::uint8_t { Solid = 0, Clear = 1 };

// The manual binding-point options the grid hands to the free-hand tool.
struct TBindingPointFlags {
    bool OddShift = false; // move kept cells whose X + Y is odd
    bool EvenShift = false; // move kept cells whose X + Y is even
    bool GapFill = false; // fill the columns skipped between kept cells
    bool Horizontal = false; // one cell per row, moved right (else per column, moved down)
    bool Vertical = true; // always the opposite of Horizontal
    bool operator==(const TBindingPointFlags &) const = default;
};

// True when the cells A and B are less than 3 cells apart (Euclidean).
bool IsNearPoint(TPoint a, TPoint b);
// The bounding box of the points, inclusive; all 0 for none.
TRect PointsBounds(const std::vector<TPoint> &points);

class TDrawObject : public TUndoObject {
public:
    using TEvent = std::function<void(TDrawObject &)>;

    TDrawObject() = default;
    ~TDrawObject() override = default;
    TDrawObject(const TDrawObject &) = delete;
    TDrawObject &operator=(const TDrawObject &) = delete;

    // The registered class name (drawtoolregistry.h).
    virtual const char *ClassName() const { return "TDrawObject"; }
    // A new object of the same class with this one's state (AssignTool).
    std::unique_ptr<TDrawObject> Clone() const;

    // --- Shape ------------------------------------------------------------------------
    virtual int GetPointCount() const { return 0; }
    // The shape's cells, in order.
    virtual TCellList Cells() const { return m_cellPath; }
    // The same as the grid's cell list.
    void GetCellPath(TLineArray &cells) const;
    // The cells' box grown by the pen: HorzWidth div 2 + 2 on the left and right,
    // VertWidth div 2 + 2 above and below, Left and Top not below 0; inclusive. False
    // (and all 0) without cells.
    virtual bool GetUpdateRect(TRect &rect) const;
    // The area of the shape; empty when it has none. The default is the even-odd area of
    // the polygon through the cell path when it has at least 2 cells.
    virtual TCellMask CreateRegion() const;
    // The top-left cell of the area's box, each coordinate at least 0; (-1, -1) without
    // an area.
    TPoint GetOrigin() const;
    // The box of the cell path (inclusive); all 0 without cells.
    void GetBounds(TRect &rect) const;

    // --- State ------------------------------------------------------------------------
    std::uint8_t Started() const { return m_started; }
    bool Locked() const { return m_locked; }
    virtual void SetLocked(bool value) { m_locked = value; }
    bool Filled() const { return m_filled; }
    void SetFilled(bool value) { m_filled = value; }
    bool AutoClear() const { return m_autoClear; }
    void SetAutoClear(bool value) { m_autoClear = value; }
    virtual bool GetVisible() const { return m_visible; }
    virtual void SetVisible(bool value) { m_visible = value; }
    bool Selected() const { return m_selected; }
    virtual void SetSelected(bool value);
    TDrawMode Mode() const { return m_mode; }
    virtual void SetMode(TDrawMode value) { m_mode = value; }
    THitState HitState() const { return m_hitState; }
    // Draw an ellipse as a ring instead of concentric outlines.
    bool Ring() const { return m_ring; }
    void SetRing(bool value) { m_ring = value; }
    const TBindingPointFlags &BindingPoints() const { return m_binding; }
    void SetBindingPoints(const TBindingPointFlags &flags) { m_binding = flags; }

    // --- Where it paints --------------------------------------------------------------
    // The screen image of the markers.
    QImage *Target() const { return m_target; }
    virtual void SetTarget(QImage *canvas) { m_target = canvas; }
    // The screen image of the preview, with the screen pixel of cell (0, 0).
    QImage *PreviewCanvas() const { return m_previewCanvas; }
    void SetPreviewCanvas(QImage *canvas) { m_previewCanvas = canvas; }
    TPoint PreviewOrigin() const { return m_previewOrigin; }
    void SetPreviewOrigin(TPoint origin) { m_previewOrigin = origin; }
    // The 8-bit picture that Finish writes into, and the index it writes.
    QImage *PictureCanvas() const { return m_pictureCanvas; }
    void SetPictureCanvas(QImage *picture) { m_pictureCanvas = picture; }
    std::uint8_t PenIndex() const { return m_penIndex; }
    void SetPenIndex(std::uint8_t index) { m_penIndex = index; }
    // The grid whose cell layout places the markers (none: cells times the scales).
    const TIDrawGridLayout *Grid() const { return m_grid; }
    void SetGrid(const TIDrawGridLayout *grid) { m_grid = grid; }
    double ScaleX() const { return m_scaleX; }
    double ScaleY() const { return m_scaleY; }
    virtual void SetScaleX(double value) { m_scaleX = value; }
    virtual void SetScaleY(double value) { m_scaleY = value; }

    // Screen point to cell and back, with the scales (unchanged when both are 1).
    TPoint ScreenToCell(TPoint p) const;
    TPoint CellToScreen(TPoint p) const;

    // --- Events -------------------------------------------------------------------------
    // OnChange follows every geometric change, OnFinish marks the end of a shape, OnRefresh
    // asks the owner to repaint.
    void SetOnChange(TEvent e) { m_onChange = std::move(e); }
    void SetOnFinish(TEvent e) { m_onFinish = std::move(e); }
    void SetOnRefresh(TEvent e) { m_onRefresh = std::move(e); }
    // Asked to show a cursor (the hand while a shape or vertex is dragged).
    void SetOnCursor(std::function<void(TCursorId)> e) { m_onCursor = std::move(e); }
    virtual void Changed() { fire(m_onChange); }

    // --- Operations (the tools override what applies to them) ----------------------------
    virtual bool HitTest(TPoint p, bool select);
    virtual bool HitVertex(TPoint, bool) { return false; }
    // Copies Source's state into this object.
    virtual void AssignTool(const TDrawObject &source);
    virtual void AddPoint(TPoint) { }
    virtual void Finish() { }
    virtual void Cancel() { }
    virtual void DeleteLastPoint() { }
    virtual void DrawMarkers() { }
    virtual void ErasePreview() { }
    // Paints the preview and the markers.
    virtual void Draw();
    // Paints the preview of the shape on screen.
    virtual void PaintShape(QImage &) { }
    virtual void Clear() { }
    virtual void InsertPoint(int, TPoint) { }
    virtual void OffsetPoints(int, int) { }
    virtual void MoveToPoint(TPoint) { }
    virtual void StorePoint(TPoint) { }
    virtual void DragBy(TPoint &, TPoint) { }
    virtual void SetCurrentPoint(TPoint) { }

protected:
    void fire(const TEvent &e)
    {
        if (e)
            e(*this);
    }
    void requestCursor(TCursorId id)
    {
        if (m_onCursor)
            m_onCursor(id);
    }
    TCellToScreen previewMap() const { return { m_scaleX, m_scaleY, m_previewOrigin }; }

    std::uint8_t m_started = 0;
    TBindingPointFlags m_binding;
    bool m_locked = false;
    QImage *m_previewCanvas = nullptr;
    QImage *m_pictureCanvas = nullptr;
    QImage *m_target = nullptr;
    std::uint8_t m_penIndex = 0;
    bool m_filled = false;
    bool m_autoClear = true;
    bool m_visible = false;
    bool m_selected = false;
    TDrawMode m_mode = TDrawMode::Idle;
    TEvent m_onRefresh;
    TEvent m_onChange;
    TEvent m_onFinish;
    std::function<void(TCursorId)> m_onCursor;
    TPoint m_previewOrigin;
    const TIDrawGridLayout *m_grid = nullptr;
    TCellList m_cellPath;
    THitState m_hitState = THitState::Nothing;
    bool m_ring = false;
    double m_scaleX = 1.0;
    double m_scaleY = 1.0;
};

// A vertex of a tool, or a tool that is one point.
class TCustomPoint : public TDrawObject {
public:
    TCustomPoint();
    const char *ClassName() const override { return "TCustomPoint"; }

    TPoint Point() const { return m_point; }
    void SetPoint(TPoint p) { m_point = p; }
    bool ShowMarker() const { return m_showMarker; }
    void SetShowMarker(bool value) { m_showMarker = value; }

    // True when the cell P is less than 3 cells from the vertex; with Select, the vertex
    // is selected or deselected by the result.
    bool HitTest(TPoint p, bool select) override;
    void AssignTool(const TDrawObject &source) override;
    // The marker: a plus sign at the centre of the vertex's cell on screen (through the
    // grid: nothing for a cell out of view; without a grid at the cell times the scales).
    void Draw() override;
    // Where the marker's centre lies; false when the cell is out of view.
    bool MarkerCentre(TPoint &centre) const;

protected:
    TPoint m_point;
    bool m_showMarker = true;
};
