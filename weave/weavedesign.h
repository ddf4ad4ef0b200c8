#pragma once
// TWeaveDesign: what the weave design window does, without the window.
// Holds the edited weave (undo on) and the layer sub-weave, the file name, the block being
// defined or dragged, the shared cell size and the layer view; turns presses, moves and
// releases on the grid (column 0 and row 0 the headers, cell (c, r) = warp c - 1, weft
// r - 1) and the window's actions into edits. The window asks it what to show and which
// actions are enabled, and runs the dialogs whose answers it passes in.

#include "weave/weave.h"
#include "weave/weavedialogrules.h"

#include <QString>

#include <functional>
#include <vector>

// The name of a weave that was never saved.
inline constexpr const char *UntitledWeaveName = "Untitled.OVW";

// The actions that need no dialog (those that do have routines of their own below).
enum class TWeaveAction {
    FillAll,
    ClearAll,
    FillBlock,
    ClearBlock,
    Invert,
    SwapUpDown,
    UpToDown,
    DownToUp,
    SwapLeftRight,
    LeftToRight,
    RightToLeft,
    SwapUpleftDownright,
    UpleftToDownright,
    DownrightToUpleft,
    SwapUprightDownleft,
    UprightToDownleft,
    DownleftToUpright,
    LeftToRightInvertOut,
    UpToDownInvertOut,
    LeftToRightInvertIn,
    UpToDownInvertIn,
    WarpHillOut,
    WeftHillOut,
    WarpHillIn,
    WeftHillIn,
    ShiftUp1,
    ShiftUp8,
    ShiftDown1,
    ShiftDown8,
    ShiftLeft1,
    ShiftLeft8,
    ShiftRight1,
    ShiftRight8,
    BackWeave,
    // Below: enabled-state only; they are run by the routines of their own.
    SaveBlock,
    Undo,
    Redo,
    SwapWarp,
    SwapWeft,
    Rotate,
    Symmetrize,
    TileWeave,
    AddDelRowCol,
};

// The mouse buttons and keys a grid event carries.
enum class TWeaveButton { Left, Right };
struct TWeaveKeys {
    bool Ctrl = false;
    bool Shift = false;
};

// What the save query asks: the three answers of its message box.
enum class TWeaveSaveAnswer { Yes, No, Cancel };

class TWeaveDesign {
public:
    TWeaveDesign();
    TWeaveDesign(const TWeaveDesign &) = delete;
    TWeaveDesign &operator=(const TWeaveDesign &) = delete;

    // Fired after anything the grid or the layer view shows has changed (cells, block,
    // drag, cell size, layer view).
    std::function<void()> OnChanged;
    // Fired when the undo or redo state changes.
    std::function<void()> OnUndoState;

    TWeave &Weave() { return m_weave; }
    const TWeave &Weave() const { return m_weave; }
    const TWeave &LayerWeave() const { return m_layer; }
    // The weave the actions change: the layer sub-weave while layer editing is on.
    const TWeave &Target() const { return m_layerEditing ? m_layer : m_weave; }
    const QString &FileName() const { return m_fileName; }
    bool Untitled() const;

    // The cell size of every design window, in pixels (14 at start, at least 1).
    static int CellSize();
    static void SetCellSize(int size);
    // 1 from a cell size of 3, else 0.
    static int GridLineWidth();
    void ZoomIn();
    void ZoomOut();

    // --- Mouse on the grid.
    void MouseDown(int col, int row, TWeaveButton button);
    void MouseMove(int col, int row, TWeaveKeys keys);
    void MouseUp(int col, int row, TWeaveKeys keys);
    // Escape: a drag ends without a transfer (true); otherwise false (the window closes).
    bool Escape();
    bool Dragging() const { return m_dragging; }
    // The block as the grid frames it (warps and wefts, ascending): the block being
    // defined, else the weave's block; false without one.
    bool ShownBlock(TWeaveRect &rect) const;
    // While a drag has moved the block: where it now lies (ascending); false otherwise.
    bool DraggedBlock(TWeaveRect &rect) const;

    // --- Actions.
    bool Enabled(TWeaveAction action) const;
    void Run(TWeaveAction action);
    void Undo();
    void Redo();
    bool BlockDefineMode() const { return m_blockDefineMode; }
    // Switching the mode off clears the block.
    void SetBlockDefineMode(bool on);
    // Lines numbered as the user counts them (warps from 1 at the left, wefts from 1 at the
    // bottom).
    void SwapWarps(int a, int b);
    void SwapWefts(int a, int b);
    // Item 1, 2, 3: 90, 180, 270 degrees clockwise; 0 does nothing.
    void Rotate(int item);
    void Symmetrize(const TIntegerArray &positions, const TIntegerArray &amounts, bool alongWarps);
    void TileWeave(int warps, int wefts);
    // Start and count as the rows-and-columns dialog gives them.
    void AddDelRowCol(TRowColEdit edit, int start, int count);
    // The combine modes the combine dialog offers, in its order: the dialog's item i means
    // mode CombineModes()[i].
    std::vector<TCombineMode> CombineModes() const;
    void Combine(const TWeaveArray &other, TCombineMode mode);

    // --- Files.
    // The edited weave becomes warps x wefts of weave points, untitled, without a block.
    void NewWeave(int warps, int wefts);
    bool Open(const QString &fileName, QString *error = nullptr);
    // Saves under fileName; on success the name follows and the main window hears of it.
    bool Save(const QString &fileName, QString *error = nullptr);
    bool SaveBlock(const QString &fileName, QString *error = nullptr) const;
    // Before New, Open and closing: true to go on. With a modified weave ask() is put the
    // question; Yes saves (under the name, or the name chooseName() gives, empty when
    // the user cancels) and goes on only when the save succeeded, reporting a failure
    // through report().
    bool SaveQuery(const std::function<TWeaveSaveAnswer()> &ask, const std::function<QString()> &chooseName,
        const std::function<void(const QString &)> &report);

    // --- Layers.
    // Layer editing on or off; while on, the size-changing actions are disabled.
    bool LayerEditing() const { return m_layerEditing; }
    void SetLayerEditing(bool on);
    int WarpLayer() const { return m_warpLayer; }
    int WeftLayer() const { return m_weftLayer; }
    // The pair of layers the sub-weave holds (each held to 1 .. its maximum); the view is
    // rebuilt.
    void SetLayerPair(int warpLayer, int weftLayer);
    // After the layer sequences changed: the view is rebuilt for layers 1 and 1.
    void LayersChanged();
    // Every layer's lines in order, each layer padded to a multiple of 8: the edited warp
    // (weft) a view column (row) shows, -1 for padding. View rows run top-down as the grid
    // shows them; layer 1 is at the bottom.
    const std::vector<int> &LayerViewColumns() const { return m_viewCols; }
    const std::vector<int> &LayerViewRows() const { return m_viewRows; }
    // The edited warps and wefts of the sub-weave's lines.
    const std::vector<int> &LayerWarps() const { return m_layerWarps; }
    const std::vector<int> &LayerWefts() const { return m_layerWefts; }

private:
    void changed();
    // The weave an action changes; while layer editing is on, the sub-weave taken afresh
    // from the edited weave, which may have changed since it was last taken.
    TWeave &target();
    // After an action on the target: the sub-weave's cells go back into the edited weave
    // as one recorded change.
    void finish();
    void rebuildLayers();
    void headerPress(int col, int row, TWeaveButton button);
    bool sizeActionsAllowed() const { return !m_layerEditing; }
    // Cell coordinates held to the weave.
    void clampCell(int &warp, int &weft) const;
    TWeaveRect movedBlock() const;
    void endDrag();

    TWeave m_weave;
    TWeave m_layer;
    QString m_fileName;
    bool m_blockDefineMode = false;
    // Definition: pressed on a cell without a block.
    bool m_defining = false;
    int m_anchorWarp = 0, m_anchorWeft = 0;
    int m_cornerWarp = 0, m_cornerWeft = 0;
    // Drag: pressed inside the block.
    bool m_dragging = false;
    int m_pressWarp = 0, m_pressWeft = 0;
    int m_dx = 0, m_dy = 0;
    TWeaveArray m_dragBase;
    bool m_layerEditing = false;
    int m_warpLayer = 1, m_weftLayer = 1;
    std::vector<int> m_viewCols, m_viewRows, m_layerWarps, m_layerWefts;
};
