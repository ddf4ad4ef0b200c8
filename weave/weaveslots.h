#pragma once
// TWeaveAssignment: the weaves (组织) given to each colour of each layer and to the
// technical needles (棒刀针, 边针, 综框针) of each layer.
// The assign-weaves window edits the slots of the document record directly; this is that
// window without its widgets: which slot a cell of its grid stands for, the copy source and
// its arming rules, loading, shifting and clearing a slot, and the zoom.
//
// The grid shows one row per layer (rows 1 .. LayerCount under a header row 0). In colour
// mode it has C x R columns (C colours, R = WarpRepeat needles per design column; column k
// stands for colour k div R), in technical mode three, one per technical needle kind.

#include "core/base/document.h"
#include "weave/weave.h"

#include <QString>

// Colour slot of grid row (1-based) and column: (row - 1) x C x R + column.
int ColorSlotOfCell(int colorCount, int warpRepeat, int row, int column);
// Technical slot of grid row (1-based) and column (the needle kind): (row - 1) x 3 + column.
int TechSlotOfCell(int row, int column);

// Grows (never shrinks) both slot lists and their name lists to the rows the window shows,
// LayerCount layers: colour slots take the default weave of their colour, technical slots
// a 2 x 2 weave of zeros, names are empty. Existing slots and names are kept. Returns
// false, changing nothing, when the record's repeat counts fail CheckMeshRepeats or the
// layers ask for more colour slots than a record holds.
bool GrowAssignmentSlots(TMesh &mesh, QString *error = nullptr);

// The brightness the header text is judged by: 0.3 red + 0.59 green + 0.11 blue, rounded.
int HeaderBrightness(TColor color);
// The header text of a colour is white on a dark colour (brightness below 129), else black.
bool HeaderTextIsWhite(TColor color);

enum class TAssignMode { Color = 0, Tech = 1 };

// A slot of either list.
struct TSlotRef {
    int Slot = -1;
    bool IsColor = true;
    bool operator==(const TSlotRef &) const = default;
};

class TWeaveAssignment {
public:
    static constexpr int MinZoom = 1;
    static constexpr int MaxZoom = 20;
    static constexpr int StartZoom = 4;

    // Works on mesh, which must outlive it; the slots are grown (GrowAssignmentSlots)
    // first. Valid() is false when they could not be.
    explicit TWeaveAssignment(TMesh &mesh, QString *error = nullptr);

    bool Valid() const { return m_valid; }
    TMesh &Mesh() { return m_mesh; }
    const TMesh &Mesh() const { return m_mesh; }

    TAssignMode Mode() const { return m_mode; }
    // Switching to technical mode gives every empty technical slot of the rows shown a
    // 2 x 2 weave of ones.
    void SetMode(TAssignMode mode);
    int RowCount() const; // layer rows, without the header
    int ColumnCount() const;
    // The colour a colour-mode column stands for.
    int ColorOfColumn(int column) const;
    bool ValidCell(int row, int column) const;

    int Zoom() const { return m_zoom; }
    bool CanZoomIn() const { return m_zoom < MaxZoom; }
    bool CanZoomOut() const { return m_zoom > MinZoom; }
    void ZoomIn();
    void ZoomOut();

    // The slot of a layer cell in the current mode (Slot -1 outside the rows shown).
    TSlotRef SlotOfCell(int row, int column) const;
    // The weave and the name of a slot (empty for a slot that does not exist).
    const TWeaveArray &Weave(TSlotRef slot) const;
    QString Name(TSlotRef slot) const;

    // The copy source: a right click arms the clicked slot.
    bool Armed() const { return m_armed; }
    TSlotRef Source() const { return m_source; }
    void ArmSource(int row, int column);
    // A left click: with an armed source, a copy of its weave and its name go into the
    // clicked slot; in colour mode the source is disarmed after one paste, in technical
    // mode it stays armed. True when something was pasted.
    bool PasteInto(int row, int column);

    // Reads a weave file into the cell's slot, its path becoming the slot's name; a file
    // that does not load leaves weave and name as they were, with the reader's message.
    bool LoadInto(int row, int column, const QString &fileName, QString *error = nullptr);
    // Shifts the cell's weave cyclically by one cell; an empty slot is left alone. True
    // when the slot changed.
    bool ShiftCell(int row, int column, TShiftDirection direction);
    // Empties the weave of the cell's slot (colour or technical by mode); the name stays.
    bool ClearCell(int row, int column);

private:
    TWeaveArray *slotWeave(TSlotRef slot);
    QString *slotName(TSlotRef slot);

    TMesh &m_mesh;
    bool m_valid = false;
    TAssignMode m_mode = TAssignMode::Color;
    int m_zoom = StartZoom;
    TSlotRef m_source;
    bool m_armed = false;
    TWeave m_work; // where shifts are made
};
