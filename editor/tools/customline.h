#pragma once
// TCustomLine: the drawing tool with a list of vertices, base of every shape tool.
// The common protocol of the shape tools: vertices added, inserted, moved, dragged and
// deleted, hit tests, the commit with its events, and the pen. What each shape's cells
// are, how it previews and what its commit writes, each tool class says for itself.
//
// A commit writes the pen index (PenIndex) into the 8-bit picture: every cell the shape
// paints takes exactly that index, whatever other palette entries show the same colour. A
// locked tool (a selection) never writes into the picture.

#include "editor/tools/drawobject.h"

#include <vector>

class TCustomLine : public TCustomPoint {
public:
    TCustomLine();
    const char *ClassName() const override { return "TCustomLine"; }

    // --- Pen ----------------------------------------------------------------------------
    TColor PenColor() const { return m_penColor; }
    TColor BrushColor() const { return m_brushColor; }
    TBrushStyle BrushStyle() const { return m_brushStyle; }
    TPenStyle PenStyle() const { return m_penStyle; }
    TPenMode PenMode() const { return m_penMode; }
    int PenWidth() const { return m_penWidth; }
    // The pen extents in cells: how many cells a stroke covers across a horizontal and
    // across a vertical direction.
    int HorzWidth() const { return m_horzWidth; }
    int VertWidth() const { return m_vertWidth; }
    void SetHorzWidth(int value) { m_horzWidth = value; }
    void SetVertWidth(int value) { m_vertWidth = value; }
    bool Erasing() const { return m_erasing; }
    void SetPenStyle(TColor penColor, TColor brushColor, int vertWidth, int horzWidth, int penWidth,
        TBrushStyle brushStyle, TPenStyle penStyle, TPenMode penMode);
    void SetColors(TColor penColor, TColor brushColor);

    // --- Vertices -----------------------------------------------------------------------
    int GetPointCount() const override { return int(m_vertices.size()); }
    // The vertices' cells in order.
    virtual void GetPoints(std::vector<TPoint> &points) const;
    // Vertex i (0 .. GetPointCount() - 1).
    const TCustomPoint &Vertex(int i) const { return *m_vertices[std::size_t(i)]; }
    // Appends a vertex at the cell of screen point P.
    void AddPoint(TPoint p) override;
    // Inserts a vertex at the cell of P before vertex Index: nothing for a negative index
    // or a cell that is already a vertex; an index past the last vertex inserts before the
    // last one.
    void InsertPoint(int index, TPoint p) override;
    // Removes the last vertex; a tool left without vertices ends its shape (mode Ready).
    void DeleteLastPoint() override;
    void OffsetPoints(int dx, int dy) override;
    void DragBy(TPoint &lastPoint, TPoint newPoint) override;
    // The pointer moved to P with the button held: the taken vertex follows it, or the
    // whole shape when the shape was hit.
    void MoveToPoint(TPoint p) override;
    void SetCurrentPoint(TPoint p) override { m_point = p; }

    // --- Hit tests ----------------------------------------------------------------------
    // The shape at the cell of P (for the tools that can be picked up by their area; the
    // others only remember the cell and answer false).
    bool HitTest(TPoint p, bool select) override;
    // The first vertex within reach of the cell of P; with Select it is taken.
    bool HitVertex(TPoint p, bool select) override;

    // The cells' box grown by the pen extents (see TDrawObject).
    bool GetUpdateRect(TRect &rect) const override;

    // --- Life ---------------------------------------------------------------------------
    // Commits the shape, then: Started 1, mode Idle when AutoClear, OnChange, OnFinish,
    // OnRefresh, and with AutoClear the vertices are cleared.
    void Finish() override;
    void Cancel() override;
    void Clear() override;
    void SetMode(TDrawMode value) override;
    void Changed() override;
    void SetLocked(bool value) override;
    void SetVisible(bool value) override;
    bool GetVisible() const override;
    void SetTarget(QImage *canvas) override;
    void SetScaleX(double value) override;
    void SetScaleY(double value) override;
    void AssignTool(const TDrawObject &source) override;
    void DrawMarkers() override;
    // The preview (not in mode Idle), then the markers of the vertices.
    void Draw() override { TDrawObject::Draw(); }
    // Takes the preview off the screen (painting it again undoes it).
    void ErasePreview() override;

protected:
    // The shape's own part of a commit into an 8-bit picture.
    virtual void commit(QImage &) { }
    // The polyline, free-hand and curve tools paint their area after the outline when
    // filled.
    virtual bool hasFillStep() const { return false; }
    // Whether HitTest picks the shape up by its area.
    virtual bool hitsShape() const { return false; }
    virtual bool containsCell(TPoint cell) const { return CreateRegion().Contains(cell); }
    // A locked tool shows its markers only while it is being drawn, if at all.
    virtual bool marksWhenLocked() const { return false; }
    // Moves vertex v to the cell (the band tool keeps its fixed coordinate).
    virtual void moveVertex(TCustomPoint &v, TPoint cell) { v.SetPoint(cell); }
    // Copies the state a tool class adds.
    virtual void assignShape(const TCustomLine &) { }

    std::unique_ptr<TCustomPoint> newVertex(TPoint cell) const;
    // Paints cells as the preview does: inverted, or dotted for a locked tool.
    void previewCells(QImage &screen, const TCellList &cells) const;
    // An unlocked shape's cells: in the pen colour when the pen copies (the shape shows in
    // the colour it will commit), inverted otherwise.
    void previewMask(QImage &screen, const TCellMask &mask, const TCellToScreen &map) const;
    // Writes the pen index into the listed cells of the picture.
    void paintCells(QImage &picture, const TCellList &cells) const;
    void paintMask(QImage &picture, const TCellMask &mask) const;
    void finishTail();
    TPoint vertexPoint(int i) const { return m_vertices[std::size_t(i)]->Point(); }

    TColor m_brushColor = 0;
    TBrushStyle m_brushStyle = TBrushStyle::Solid;
    int m_horzWidth = 1;
    bool m_erasing = false;
    std::vector<std::unique_ptr<TCustomPoint>> m_vertices;
    TColor m_penColor = 0;
    TPenMode m_penMode = TPenMode::NotXor;
    TPenStyle m_penStyle = TPenStyle::Solid;
    int m_penWidth = 1;
    int m_vertWidth = 1;
};
