// TWeaveDesign: the grid's mouse, the actions, the files and the layer view of the weave
// design window.
#include "weave/weavedesign.h"

#include "core/base/messages.h"
#include "weave/weavearray.h"

#include <algorithm>

namespace {

int g_cellSize = 14;

// The lines of one layer: the positions whose entry in the cyclic sequence is the layer.
// Lines are counted from first to last in the order given by index(k).
template <class Index>
std::vector<int> LayerLines(const TIntegerArray &sequence, int lines, int layer, Index index)
{
    std::vector<int> out;
    if (sequence.isEmpty())
        return out;
    for (int k = 0; k < lines; ++k)
        if (sequence[k % sequence.length()] == layer)
            out.push_back(index(k));
    return out;
}

// Every layer's lines, each padded with -1 to a multiple of 8.
template <class Index>
std::vector<int> LayerView(const TIntegerArray &sequence, int layerMax, int lines, Index index)
{
    std::vector<int> out;
    for (int layer = 1; layer <= layerMax; ++layer) {
        const std::vector<int> one = LayerLines(sequence, lines, layer, index);
        out.insert(out.end(), one.begin(), one.end());
        out.resize((out.size() + 7) / 8 * 8, -1);
    }
    return out;
}

bool Inside(const TWeaveRect &r, int warp, int weft)
{
    return warp >= r.LowWarp && warp <= r.HighWarp && weft >= r.LowWeft && weft <= r.HighWeft;
}

TWeaveRect Ordered(int warp1, int weft1, int warp2, int weft2)
{
    return { std::min(warp1, warp2), std::min(weft1, weft2), std::max(warp1, warp2), std::max(weft1, weft2) };
}

} // namespace

TWeaveDesign::TWeaveDesign()
    : m_fileName(QString::fromLatin1(UntitledWeaveName))
{
    m_weave.SetUndoEnabled(true);
    m_weave.NewPlain(8, 8);
    m_weave.OnChange = [this](TWeave *) { changed(); };
    m_weave.OnUndoStateChange = [this](TWeave *) {
        if (OnUndoState)
            OnUndoState();
    };
    m_weave.OnRedoStateChange = m_weave.OnUndoStateChange;
    rebuildLayers();
}

void TWeaveDesign::changed()
{
    if (OnChanged)
        OnChanged();
}

bool TWeaveDesign::Untitled() const
{
    return m_fileName == QLatin1String(UntitledWeaveName);
}

int TWeaveDesign::CellSize()
{
    return g_cellSize;
}

void TWeaveDesign::SetCellSize(int size)
{
    g_cellSize = std::max(size, 1);
}

int TWeaveDesign::GridLineWidth()
{
    return g_cellSize >= 3 ? 1 : 0;
}

void TWeaveDesign::ZoomIn()
{
    // A cell larger than a screen helps nobody and overflows the grid's pixel sums.
    SetCellSize(std::min(g_cellSize + 1, 200));
    changed();
}

void TWeaveDesign::ZoomOut()
{
    SetCellSize(g_cellSize - 1);
    changed();
}

// --- Mouse.

void TWeaveDesign::clampCell(int &warp, int &weft) const
{
    warp = std::clamp(warp, 0, std::max(m_weave.WarpCount() - 1, 0));
    weft = std::clamp(weft, 0, std::max(m_weave.WeftCount() - 1, 0));
}

void TWeaveDesign::headerPress(int col, int row, TWeaveButton button)
{
    // The layer view's write-back needs the weave to keep its size.
    if (!sizeActionsAllowed())
        return;
    m_weave.ClearBlock();
    if (row == 0) {
        if (button == TWeaveButton::Left)
            m_weave.InsertWarps(col - 1, 1);
        else
            m_weave.DeleteWarps(col - 1, 1);
    } else if (button == TWeaveButton::Left) {
        m_weave.InsertWefts(row - 1, 1);
    } else {
        m_weave.DeleteWefts(row - 1, 1);
    }
    rebuildLayers();
    changed();
}

void TWeaveDesign::MouseDown(int col, int row, TWeaveButton button)
{
    if (m_dragging || m_defining)
        return;
    if (col < 0 || row < 0 || col > m_weave.WarpCount() || row > m_weave.WeftCount())
        return;
    if (col == 0 && row == 0)
        return;
    if (col == 0 || row == 0) {
        headerPress(col, row, button);
        return;
    }
    if (button != TWeaveButton::Left)
        return;
    const int warp = col - 1, weft = row - 1;
    if (m_weave.HasBlock()) {
        if (!Inside(m_weave.BlockBounds(), warp, weft))
            return;
        m_dragging = true;
        m_pressWarp = warp;
        m_pressWeft = weft;
        m_dx = m_dy = 0;
        m_weave.GetCells(m_dragBase);
        return;
    }
    m_defining = true;
    m_anchorWarp = m_cornerWarp = warp;
    m_anchorWeft = m_cornerWeft = weft;
}

TWeaveRect TWeaveDesign::movedBlock() const
{
    TWeaveRect r = m_weave.BlockBounds();
    r.LowWarp += m_dx;
    r.HighWarp += m_dx;
    r.LowWeft += m_dy;
    r.HighWeft += m_dy;
    return r;
}

void TWeaveDesign::MouseMove(int col, int row, TWeaveKeys keys)
{
    int warp = col - 1, weft = row - 1;
    if (m_defining) {
        if (!m_blockDefineMode)
            return;
        clampCell(warp, weft);
        if (warp == m_cornerWarp && weft == m_cornerWeft)
            return;
        m_cornerWarp = warp;
        m_cornerWeft = weft;
        changed();
        return;
    }
    if (!m_dragging)
        return;
    // The moved block stays inside the weave: its cells and corners never leave the matrix.
    const TWeaveRect b = m_weave.BlockBounds();
    const int dx = std::clamp(warp - m_pressWarp, -b.LowWarp, m_weave.WarpCount() - 1 - b.HighWarp);
    const int dy = std::clamp(weft - m_pressWeft, -b.LowWeft, m_weave.WeftCount() - 1 - b.HighWeft);
    if (dx == m_dx && dy == m_dy)
        return;
    m_dx = dx;
    m_dy = dy;
    TWeaveArray preview;
    CopyWeaveArray(m_dragBase, preview);
    const int mode = keys.Ctrl ? WeaveCopy : keys.Shift ? WeaveMerge : WeaveMove;
    TransferWeaveRect(preview, b, preview, mode, b.LowWeft + dy, b.LowWarp + dx);
    m_weave.SetCells(preview, false);
}

void TWeaveDesign::endDrag()
{
    m_dragging = false;
    m_dx = m_dy = 0;
    m_dragBase = TWeaveArray();
}

void TWeaveDesign::MouseUp(int col, int row, TWeaveKeys keys)
{
    const int warp = col - 1, weft = row - 1;
    if (m_dragging) {
        const TWeaveRect b = m_weave.BlockBounds();
        if (m_dx == 0 && m_dy == 0) {
            // The cells may have been previewed elsewhere and brought back.
            m_weave.SetCells(m_dragBase, false);
            const TWeaveRect &set = m_weave.Block();
            const bool corner = (warp == set.LowWarp && weft == set.LowWeft)
                || (warp == set.HighWarp && weft == set.HighWeft);
            endDrag();
            if (corner)
                m_weave.ClearBlock();
            changed();
            return;
        }
        TWeaveArray result;
        CopyWeaveArray(m_dragBase, result);
        const int mode = keys.Ctrl ? WeaveCopy : keys.Shift ? WeaveMerge : WeaveMove;
        TransferWeaveRect(result, b, result, mode, b.LowWeft + m_dy, b.LowWarp + m_dx);
        const TWeaveRect moved = movedBlock();
        // The ring takes the state before the drag, so one undo step goes back to it.
        m_weave.SetCells(m_dragBase, false);
        endDrag();
        m_weave.SetCells(result, true);
        m_weave.SetBlock(moved);
        rebuildLayers();
        changed();
        return;
    }
    if (!m_defining)
        return;
    m_defining = false;
    const bool hasBlock = m_cornerWarp != m_anchorWarp || m_cornerWeft != m_anchorWeft;
    if (!hasBlock) {
        if (warp == m_anchorWarp && weft == m_anchorWeft) {
            m_weave.ToggleCell(warp, weft);
            rebuildLayers();
        }
        changed();
        return;
    }
    m_weave.SetBlock(Ordered(m_anchorWarp, m_anchorWeft, m_cornerWarp, m_cornerWeft));
    changed();
}

bool TWeaveDesign::Escape()
{
    if (!m_dragging)
        return false;
    m_weave.SetCells(m_dragBase, false);
    endDrag();
    changed();
    return true;
}

bool TWeaveDesign::ShownBlock(TWeaveRect &rect) const
{
    if (m_defining) {
        if (m_cornerWarp == m_anchorWarp && m_cornerWeft == m_anchorWeft)
            return false;
        rect = Ordered(m_anchorWarp, m_anchorWeft, m_cornerWarp, m_cornerWeft);
        return true;
    }
    if (!m_weave.HasBlock())
        return false;
    rect = m_weave.BlockBounds();
    return true;
}

bool TWeaveDesign::DraggedBlock(TWeaveRect &rect) const
{
    if (!m_dragging || (m_dx == 0 && m_dy == 0))
        return false;
    rect = movedBlock();
    return true;
}

// --- Actions.

bool TWeaveDesign::Enabled(TWeaveAction action) const
{
    switch (action) {
    case TWeaveAction::FillBlock:
    case TWeaveAction::ClearBlock:
    case TWeaveAction::SaveBlock:
        return Target().HasBlock();
    case TWeaveAction::Undo:
        return m_weave.CanUndo();
    case TWeaveAction::Redo:
        return m_weave.CanRedo();
    // They change the number of warps or wefts, which the layer write-back cannot follow.
    case TWeaveAction::LeftToRightInvertOut:
    case TWeaveAction::UpToDownInvertOut:
    case TWeaveAction::WarpHillOut:
    case TWeaveAction::WeftHillOut:
    case TWeaveAction::TileWeave:
    case TWeaveAction::AddDelRowCol:
        return sizeActionsAllowed();
    default:
        return true;
    }
}

void TWeaveDesign::Run(TWeaveAction action)
{
    if (!Enabled(action) || m_dragging)
        return;
    TWeave &w = target();
    switch (action) {
    case TWeaveAction::FillAll:
        w.FillAll(1);
        break;
    case TWeaveAction::ClearAll:
        w.FillAll(0);
        break;
    case TWeaveAction::FillBlock:
        w.FillBlock(1);
        break;
    case TWeaveAction::ClearBlock:
        w.FillBlock(0);
        break;
    case TWeaveAction::Invert:
        w.InvertBlock();
        break;
    case TWeaveAction::SwapUpDown:
        w.MirrorWefts(::SwapUpDown);
        break;
    case TWeaveAction::UpToDown:
        w.MirrorWefts(::UpToDown);
        break;
    case TWeaveAction::DownToUp:
        w.MirrorWefts(::DownToUp);
        break;
    case TWeaveAction::SwapLeftRight:
        w.MirrorWarps(::SwapLeftRight);
        break;
    case TWeaveAction::LeftToRight:
        w.MirrorWarps(::LeftToRight);
        break;
    case TWeaveAction::RightToLeft:
        w.MirrorWarps(::RightToLeft);
        break;
    case TWeaveAction::SwapUpleftDownright:
        w.ReflectAntiDiagonal(::SwapUpleftDownright);
        break;
    case TWeaveAction::UpleftToDownright:
        w.ReflectAntiDiagonal(::UpleftToDownright);
        break;
    case TWeaveAction::DownrightToUpleft:
        w.ReflectAntiDiagonal(::DownrightToUpleft);
        break;
    case TWeaveAction::SwapUprightDownleft:
        w.ReflectMainDiagonal(::SwapUprightDownleft);
        break;
    case TWeaveAction::UprightToDownleft:
        w.ReflectMainDiagonal(::UprightToDownleft);
        break;
    case TWeaveAction::DownleftToUpright:
        w.ReflectMainDiagonal(::DownleftToUpright);
        break;
    case TWeaveAction::LeftToRightInvertOut:
        w.DoubleWarpsInverted();
        break;
    case TWeaveAction::UpToDownInvertOut:
        w.DoubleWeftsInverted();
        break;
    case TWeaveAction::LeftToRightInvertIn:
        w.InvertMirrorWarps();
        break;
    case TWeaveAction::UpToDownInvertIn:
        w.InvertMirrorWefts();
        break;
    case TWeaveAction::WarpHillOut:
        w.WarpHillOut();
        break;
    case TWeaveAction::WeftHillOut:
        w.WeftHillOut();
        break;
    case TWeaveAction::WarpHillIn:
        w.WarpHillIn();
        break;
    case TWeaveAction::WeftHillIn:
        w.WeftHillIn();
        break;
    case TWeaveAction::ShiftUp1:
        w.ShiftBlock(ShiftUp, 1);
        break;
    case TWeaveAction::ShiftUp8:
        w.ShiftBlock(ShiftUp, 8);
        break;
    case TWeaveAction::ShiftDown1:
        w.ShiftBlock(ShiftDown, 1);
        break;
    case TWeaveAction::ShiftDown8:
        w.ShiftBlock(ShiftDown, 8);
        break;
    case TWeaveAction::ShiftLeft1:
        w.ShiftBlock(ShiftLeft, 1);
        break;
    case TWeaveAction::ShiftLeft8:
        w.ShiftBlock(ShiftLeft, 8);
        break;
    case TWeaveAction::ShiftRight1:
        w.ShiftBlock(ShiftRight, 1);
        break;
    case TWeaveAction::ShiftRight8:
        w.ShiftBlock(ShiftRight, 8);
        break;
    case TWeaveAction::BackWeave:
        w.BackSide();
        break;
    default:
        return;
    }
    finish();
}

TWeave &TWeaveDesign::target()
{
    if (!m_layerEditing)
        return m_weave;
    rebuildLayers();
    return m_layer;
}

void TWeaveDesign::finish()
{
    if (m_layerEditing) {
        // The sub-weave's cells go back to their places, as one change of the edited weave.
        const TWeaveArray &sub = m_layer.Cells();
        if (WeaveWarps(sub) == int(m_layerWarps.size()) && WeaveWefts(sub) == int(m_layerWefts.size())
            && !sub.isEmpty()) {
            TWeaveArray cells;
            m_weave.GetCells(cells);
            bool differs = false;
            for (std::size_t i = 0; i < m_layerWarps.size(); ++i)
                for (std::size_t j = 0; j < m_layerWefts.size(); ++j) {
                    std::uint8_t &cell = cells[m_layerWarps[i]][m_layerWefts[j]];
                    differs = differs || cell != sub[int(i)][int(j)];
                    cell = sub[int(i)][int(j)];
                }
            if (differs)
                m_weave.SetCells(cells, true);
        }
    }
    rebuildLayers();
    changed();
}

void TWeaveDesign::Undo()
{
    if (m_dragging)
        return;
    m_weave.Undo();
    m_weave.ClearBlock();
    rebuildLayers();
    changed();
}

void TWeaveDesign::Redo()
{
    if (m_dragging)
        return;
    m_weave.Redo();
    m_weave.ClearBlock();
    rebuildLayers();
    changed();
}

void TWeaveDesign::SetBlockDefineMode(bool on)
{
    m_blockDefineMode = on;
    if (!on && !m_dragging) {
        m_weave.ClearBlock();
        changed();
    }
}

void TWeaveDesign::SwapWarps(int a, int b)
{
    target().SwapWarps(a - 1, b - 1);
    finish();
}

void TWeaveDesign::SwapWefts(int a, int b)
{
    TWeave &w = target();
    const int h = w.WeftCount();
    w.SwapWefts(h - a, h - b);
    finish();
}

void TWeaveDesign::Rotate(int item)
{
    if (item < 1 || item > 3)
        return;
    target().RotateBlock(TRotateMode(item));
    finish();
}

void TWeaveDesign::Symmetrize(const TIntegerArray &positions, const TIntegerArray &amounts, bool alongWarps)
{
    target().Symmetrize(positions, amounts, alongWarps);
    finish();
}

void TWeaveDesign::TileWeave(int warps, int wefts)
{
    if (!sizeActionsAllowed())
        return;
    m_weave.ResizeTiled(warps, wefts);
    finish();
}

void TWeaveDesign::AddDelRowCol(TRowColEdit edit, int start, int count)
{
    if (!sizeActionsAllowed())
        return;
    const int h = m_weave.WeftCount();
    switch (edit) {
    case RowsAdd:
        m_weave.InsertWefts(h - start, count);
        break;
    case ColumnsAdd:
        m_weave.InsertWarps(start - 1, count);
        break;
    case RowsDelete:
        m_weave.DeleteWefts(h - start, count);
        break;
    case ColumnsDelete:
        m_weave.DeleteWarps(start - 1, count);
        break;
    }
    finish();
}

std::vector<TCombineMode> TWeaveDesign::CombineModes() const
{
    std::vector<TCombineMode> modes;
    // Joining beside the weave changes its size, which the layer write-back cannot follow.
    if (!m_layerEditing)
        modes = { CombineAbove, CombineBelow, CombineLeft, CombineRight };
    modes.push_back(CombineTileAll);
    if (Target().HasBlock()) {
        modes.push_back(CombineAtBlock);
        modes.push_back(CombineTileBlock);
    }
    return modes;
}

void TWeaveDesign::Combine(const TWeaveArray &other, TCombineMode mode)
{
    const std::vector<TCombineMode> modes = CombineModes();
    if (std::find(modes.begin(), modes.end(), mode) == modes.end())
        return;
    target().Combine(other, mode);
    if (mode <= CombineRight)
        m_weave.ClearBlock();
    finish();
}

// --- Files.

void TWeaveDesign::NewWeave(int warps, int wefts)
{
    if (warps < 1 || wefts < 1 || warps > MaxWeaveSide || wefts > MaxWeaveSide)
        return;
    endDrag();
    m_defining = false;
    m_weave.SetCells(MakeWeaveArray(warps, wefts), false);
    m_fileName = QString::fromLatin1(UntitledWeaveName);
    m_weave.ClearBlock();
    m_weave.ResetUndo(true);
    m_weave.FillAll(1);
    rebuildLayers();
    changed();
}

bool TWeaveDesign::Open(const QString &fileName, QString *error)
{
    if (!m_weave.LoadFromFile(fileName, error))
        return false;
    endDrag();
    m_defining = false;
    m_fileName = fileName;
    m_weave.ClearBlock();
    rebuildLayers();
    changed();
    return true;
}

bool TWeaveDesign::Save(const QString &fileName, QString *error)
{
    if (!m_weave.SaveToFile(fileName, error))
        return false;
    m_fileName = fileName;
    SendWeaveFileSaved(fileName);
    changed();
    return true;
}

bool TWeaveDesign::SaveBlock(const QString &fileName, QString *error) const
{
    return m_weave.SaveBlockToFile(fileName, error);
}

bool TWeaveDesign::SaveQuery(const std::function<TWeaveSaveAnswer()> &ask,
    const std::function<QString()> &chooseName, const std::function<void(const QString &)> &report)
{
    if (!m_weave.Modified())
        return true;
    switch (ask()) {
    case TWeaveSaveAnswer::No:
        return true;
    case TWeaveSaveAnswer::Cancel:
        return false;
    case TWeaveSaveAnswer::Yes:
        break;
    }
    // A cancelled choice of name is a Cancel: the weave is neither saved nor dropped.
    const QString name = Untitled() ? chooseName() : m_fileName;
    if (name.isEmpty())
        return false;
    QString error;
    if (!Save(name, &error)) {
        if (report)
            report(error);
        return false;
    }
    return true;
}

// --- Layers.

void TWeaveDesign::SetLayerEditing(bool on)
{
    m_layerEditing = on;
    rebuildLayers();
    changed();
}

void TWeaveDesign::SetLayerPair(int warpLayer, int weftLayer)
{
    m_warpLayer = std::clamp(warpLayer, 1, std::max(m_weave.WarpLayerMax(), 1));
    m_weftLayer = std::clamp(weftLayer, 1, std::max(m_weave.WeftLayerMax(), 1));
    rebuildLayers();
    changed();
}

void TWeaveDesign::LayersChanged()
{
    SetLayerPair(1, 1);
}

void TWeaveDesign::rebuildLayers()
{
    const int warps = m_weave.WarpCount(), wefts = m_weave.WeftCount();
    m_warpLayer = std::clamp(m_warpLayer, 1, std::max(m_weave.WarpLayerMax(), 1));
    m_weftLayer = std::clamp(m_weftLayer, 1, std::max(m_weave.WeftLayerMax(), 1));
    const auto warpIndex = [](int k) { return k; };
    // Wefts are counted from the bottom, as the user numbers them: weft 1 is the last.
    const auto weftIndex = [wefts](int k) { return wefts - 1 - k; };
    m_viewCols = LayerView(m_weave.WarpLayers(), m_weave.WarpLayerMax(), warps, warpIndex);
    m_viewRows = LayerView(m_weave.WeftLayers(), m_weave.WeftLayerMax(), wefts, weftIndex);
    std::reverse(m_viewRows.begin(), m_viewRows.end());
    m_layerWarps = LayerLines(m_weave.WarpLayers(), warps, m_warpLayer, warpIndex);
    m_layerWefts = LayerLines(m_weave.WeftLayers(), wefts, m_weftLayer, weftIndex);
    std::reverse(m_layerWefts.begin(), m_layerWefts.end());
    TWeaveArray sub;
    if (!m_layerWarps.empty() && !m_layerWefts.empty()) {
        sub = MakeWeaveArray(int(m_layerWarps.size()), int(m_layerWefts.size()));
        for (std::size_t i = 0; i < m_layerWarps.size(); ++i)
            for (std::size_t j = 0; j < m_layerWefts.size(); ++j)
                sub[int(i)][int(j)] = m_weave.GetCell(m_layerWarps[i], m_layerWefts[j]);
    }
    m_layer.SetCells(sub, false);
    m_layer.ClearBlock();
}
