// The fill and colour-change tools of the pattern grid: the cells change through the
// routines of core/picture/floodfill.h and the area is recorded as one cell step, which
// the store keeps packed (box and cells) once the area is large.
#include "editor/patterngrid.h"

#include "core/picture/floodfill.h"

namespace {
TRect inclusiveRect(const QRect &r)
{
    return TRect { r.left(), r.top(), r.right(), r.bottom() };
}
} // namespace

// The 4-connected cells holding the pressed cell's index take the fore index (the picture
// is a matrix of indexes: another index that only looks the same stays). The cells that
// changed inside the fill's box form one undo step, under the recorder's rules.
void TPatternGrid::fillAreaAt(TPoint cell)
{
    if (!InsidePicture(cell))
        return;
    const std::uint8_t from = m_picture.constScanLine(cell.Y)[cell.X], to = m_foreIndex;
    // A protected colour is never painted over: the recorder would put every cell back.
    if (from == to || m_colorSet.test(from))
        return;
    const TFillResult fill = FloodFillIndex(m_picture, QPoint(cell.X, cell.Y), to);
    if (fill.Changed > 0)
        recordFilledArea(fill.Box, fill.Changed, true);
}

// Inside the selection's box (the whole picture without one) every cell of the pressed
// index takes the fore index, protected or not: one recolouring of the box.
void TPatternGrid::changeColorAt(TPoint cell)
{
    if (!InsidePicture(cell))
        return;
    const std::uint8_t from = m_picture.constScanLine(cell.Y)[cell.X], to = m_foreIndex;
    QRect box = m_picture.rect();
    if (!m_selectionRegion.isEmpty())
        box &= m_selectionRegion.boundingRect();
    const TFillResult change = ReplaceIndexInBox(m_picture, box, from, to);
    if (change.Changed > 0)
        recordFilledArea(change.Box, change.Changed, false);
}

// A change of most of the picture is a whole-picture step, as long as the recorder's rules
// could not put a cell back (no selection, no start-point filter; the callers leave
// protected colours alone); otherwise the cells that changed in box form the step. Both
// keep the cells packed. A step that cannot be kept takes the change back.
void TPatternGrid::recordFilledArea(const QRect &box, long long changed, bool rules)
{
    const long long pictureCells = static_cast<long long>(m_picture.width()) * m_picture.height();
    const bool rulesCannotReject
        = !rules || (m_selectionRegion.isEmpty() && !m_pointStyle[0] && !m_pointStyle[1]);
    if (changed * 6 > 2 * pictureCells && rulesCannotReject) {
        if (!SaveWholePictureUndoStep() && restorePictureFromRef())
            return;
        RebuildDisplayBitmap(); // RefBitmap := Picture
    } else {
        RecordRectUndoStep(inclusiveRect(box), !rules, !rules);
    }
    RebuildReducedView();
    Repaint();
    NotifyMainWindow();
}
