// TWeave: construction, cells, files, block, layers and the undo ring.
#include "weave/weave.h"

#include "weave/weavefile.h"

#include <algorithm>

namespace {

// A copy on storage of its own; an empty matrix stays empty.
TWeaveArray deepCopy(const TWeaveArray &source)
{
    TWeaveArray out;
    CopyWeaveArray(source, out);
    return out;
}

} // namespace

TWeave::TWeave()
    : m_warpLayers { 1 }
    , m_weftLayers { 1 }
{
}

void TWeave::fire(const TNotifyEvent &event)
{
    if (event)
        event(this);
}

void TWeave::setCanUndo(bool value)
{
    m_canUndo = value;
    fire(OnUndoStateChange);
}

void TWeave::setCanRedo(bool value)
{
    m_canRedo = value;
    fire(OnRedoStateChange);
}

std::uint8_t TWeave::GetCell(int warp, int weft) const
{
    if (warp < 0 || warp >= m_warpCount || weft < 0 || weft >= m_weftCount)
        return 0;
    return m_cells[warp][weft];
}

void TWeave::GetCells(TWeaveArray &dest) const
{
    dest = deepCopy(m_cells);
}

void TWeave::takeCells(TWeaveArray cells)
{
    m_cells = std::move(cells);
    m_warpCount = WeaveWarps(m_cells);
    m_weftCount = WeaveWefts(m_cells);
}

void TWeave::SetCells(const TWeaveArray &source, bool record)
{
    // Every warp must hold as many wefts as the first: the edits index the whole matrix.
    const int wefts = WeaveWefts(source);
    for (const auto &warp : source)
        if (warp.length() != wefts)
            return;
    takeCells(deepCopy(source));
    if (record)
        changed();
    else
        fire(OnChange);
}

void TWeave::NewPlain(int warps, int wefts)
{
    if (warps < 0 || wefts < 0 || !sizeAllowed(warps, wefts))
        return;
    TWeaveArray cells = MakeWeaveArray(warps, wefts);
    for (int i = 0; i < warps; ++i)
        for (int j = 0; j < wefts; ++j)
            cells[i][j] = (i + j) % 2;
    takeCells(std::move(cells));
    ResetUndo(true);
}

bool TWeave::LoadFromFile(const QString &fileName, QString *error)
{
    TWeaveArray cells;
    if (!LoadWeaveFile(fileName, cells, error))
        return false;
    takeCells(std::move(cells));
    ResetUndo(true);
    return true;
}

bool TWeave::SaveToFile(const QString &fileName, QString *error)
{
    if (!WriteWeaveFile(fileName, m_cells, error))
        return false;
    ResetUndo(true);
    return true;
}

bool TWeave::SaveBlockToFile(const QString &fileName, QString *error) const
{
    TWeaveRect b;
    if (!m_hasBlock || !blockInside(b))
        return false;
    TWeaveArray part = MakeWeaveArray(b.HighWarp - b.LowWarp + 1, b.HighWeft - b.LowWeft + 1);
    for (int i = b.LowWarp; i <= b.HighWarp; ++i)
        for (int j = b.LowWeft; j <= b.HighWeft; ++j)
            part[i - b.LowWarp][j - b.LowWeft] = m_cells[i][j];
    return WriteWeaveFile(fileName, part, error);
}

void TWeave::SetBlock(const TWeaveRect &rect)
{
    m_block = rect;
    m_hasBlock = true;
}

void TWeave::ClearBlock()
{
    m_block = TWeaveRect { -1, -1, -1, -1 };
    m_hasBlock = false;
}

TWeaveRect TWeave::BlockBounds() const
{
    if (!m_hasBlock)
        return TWeaveRect { 0, 0, m_warpCount - 1, m_weftCount - 1 };
    return TWeaveRect { std::min(m_block.LowWarp, m_block.HighWarp),
        std::min(m_block.LowWeft, m_block.HighWeft), std::max(m_block.LowWarp, m_block.HighWarp),
        std::max(m_block.LowWeft, m_block.HighWeft) };
}

bool TWeave::blockInside(TWeaveRect &bounds) const
{
    bounds = BlockBounds();
    return bounds.LowWarp >= 0 && bounds.LowWeft >= 0 && bounds.HighWarp < m_warpCount
        && bounds.HighWeft < m_weftCount;
}

bool TWeave::squareBlock(TWeaveRect &bounds) const
{
    return blockInside(bounds) && bounds.HighWarp - bounds.LowWarp == bounds.HighWeft - bounds.LowWeft;
}

bool TWeave::SetLayers(const TIntegerArray &sequence, bool isWarp)
{
    if (sequence.isEmpty())
        return false;
    const int largest = *std::max_element(sequence.begin(), sequence.end());
    (isWarp ? m_warpLayers : m_weftLayers) = sequence.copy();
    (isWarp ? m_warpLayerMax : m_weftLayerMax) = largest;
    return true;
}

// The ring keeps at most four snapshots; when full, the oldest goes and with it the saved
// base state.
void TWeave::push()
{
    if (m_lastSnapshot == SnapshotCount - 1) {
        for (int k = 1; k < SnapshotCount; ++k)
            m_snapshots[std::size_t(k - 1)] = m_snapshots[std::size_t(k)];
        m_baseSaved = false;
    } else {
        ++m_lastSnapshot;
    }
    m_snapshots[std::size_t(m_lastSnapshot)] = deepCopy(m_cells);
    m_currentSnapshot = m_lastSnapshot;
}

void TWeave::changed()
{
    if (m_undoEnabled) {
        m_modified = true;
        // Before the first reset the state before this edit was never taken: the edit
        // becomes the base, so that undo never brings back a weave that did not exist.
        const bool ringEmpty = m_lastSnapshot < 0;
        for (int k = m_currentSnapshot + 1; k < SnapshotCount; ++k)
            m_snapshots[std::size_t(k)] = TWeaveArray();
        m_lastSnapshot = ringEmpty ? -1 : m_currentSnapshot;
        setCanUndo(!ringEmpty);
        setCanRedo(false);
        push();
    }
    fire(OnChange);
}

void TWeave::Undo()
{
    if (!m_undoEnabled || m_currentSnapshot <= 0)
        return;
    --m_currentSnapshot;
    takeCells(deepCopy(m_snapshots[std::size_t(m_currentSnapshot)]));
    m_modified = !m_baseSaved || m_currentSnapshot > 0;
    setCanUndo(m_currentSnapshot > 0);
    setCanRedo(true);
    fire(OnChange);
}

void TWeave::Redo()
{
    if (!m_undoEnabled || m_currentSnapshot >= m_lastSnapshot)
        return;
    ++m_currentSnapshot;
    takeCells(deepCopy(m_snapshots[std::size_t(m_currentSnapshot)]));
    m_modified = true;
    setCanUndo(true);
    setCanRedo(m_currentSnapshot < m_lastSnapshot);
    fire(OnChange);
}

void TWeave::ResetUndo(bool baseSaved)
{
    for (auto &snapshot : m_snapshots)
        snapshot = TWeaveArray();
    m_currentSnapshot = 0;
    m_lastSnapshot = -1;
    push();
    m_modified = !baseSaved;
    m_baseSaved = baseSaved;
    setCanUndo(false);
    setCanRedo(false);
    fire(OnChange);
}
