// The whole-picture commands of the pattern grid: mirrors, links, flips, quarter turns,
// resizing, cropping, removing blank columns, jump start, clearing, and inserting and
// deleting lines. Each works on one repeat unit (the repeat view is hidden first) and
// records one whole-picture step.
#include "editor/patterngrid.h"

#include "core/palette/regions.h"
#include "core/picture/imageproc.h"

void TPatternGrid::DropFloatingObjects()
{
    // The grid keeps no floating picture or text yet: nothing to let go. Every
    // whole-picture command starts here.
    ++m_wholePictureChanges;
}

// Recipe C from the notifications on: the whole-picture step holds Picture after and
// RefBitmap before; then RefBitmap follows Picture and the step takes the settings after.
void TPatternGrid::finishWholePictureCommand(bool sizeChanged)
{
    if (sizeChanged) {
        RefreshView();
    } else {
        Repaint();
        NotifyRefreshView(1);
    }
    const bool recorded = SaveImageUndoStep();
    RebuildDisplayBitmap();
    UpdateRepeatSize();
    // A step that could not be written must not give its settings to the step before.
    if (recorded)
        m_undoStore->UpdateTopState();
    else
        NotifyMainWindow();
    RebuildReducedView();
    Repaint();
}

bool TPatternGrid::transformPicture(const std::function<bool(QImage &picture)> &transform)
{
    DropFloatingObjects();
    SetRepeatView(false);
    if (m_picture.isNull())
        return false;
    const QSize before = m_picture.size();
    if (!transform(m_picture))
        return false;
    finishWholePictureCommand(m_picture.size() != before);
    return true;
}

bool TPatternGrid::MirrorLeftImage()
{
    return transformPicture(MirrorLeftToRight);
}

bool TPatternGrid::MirrorRightImage()
{
    return transformPicture(MirrorRightToLeft);
}

bool TPatternGrid::MirrorTopImage()
{
    return transformPicture(MirrorTopToBottom);
}

bool TPatternGrid::MirrorBottomImage()
{
    return transformPicture(MirrorBottomToTop);
}

bool TPatternGrid::LinkLeftRight()
{
    return transformPicture(LinkPictureLeftRight);
}

bool TPatternGrid::LinkTopBottom()
{
    return transformPicture(LinkPictureTopBottom);
}

// The selection's box takes in the last column and row of the picture as well: the box is
// clamped to the picture, right and bottom exclusive.
bool TPatternGrid::FlipLeftRight()
{
    return transformPicture([this](QImage &picture) {
        const TRect box = m_selectionRegion.isEmpty()
            ? TRect { 0, 0, picture.width(), picture.height() }
            : ClampedRegionBox(m_selectionRegion, picture.width(), picture.height());
        if (box.Width() <= 0 || box.Height() <= 0)
            return false;
        FlipRectLeftRight(picture, box);
        return true;
    });
}

bool TPatternGrid::FlipTopBottom()
{
    return transformPicture([this](QImage &picture) {
        const TRect box = m_selectionRegion.isEmpty()
            ? TRect { 0, 0, picture.width(), picture.height() }
            : ClampedRegionBox(m_selectionRegion, picture.width(), picture.height());
        if (box.Width() <= 0 || box.Height() <= 0)
            return false;
        FlipRectTopBottom(picture, box);
        return true;
    });
}

namespace {
bool rotateBy(QImage &picture, const QImage &ref, double angle)
{
    // A half turn works in place; quarter turns read the recorded picture.
    return RotatePictureQuarter(picture, ref.size() == picture.size() ? ref : picture.copy(), angle);
}
} // namespace

bool TPatternGrid::Rotate180()
{
    return transformPicture([this](QImage &picture) {
        if (!rotateBy(picture, m_refBitmap, 180.0))
            return false;
        ClearSelectionRegion();
        return true;
    });
}

bool TPatternGrid::Rotate270()
{
    return transformPicture([this](QImage &picture) {
        if (!rotateBy(picture, m_refBitmap, -90.0))
            return false;
        ClearSelectionRegion();
        return true;
    });
}

bool TPatternGrid::Rotate90()
{
    return transformPicture([this](QImage &picture) {
        if (!rotateBy(picture, m_refBitmap, 90.0))
            return false;
        ClearSelectionRegion();
        return true;
    });
}

bool TPatternGrid::ResizePicture(int newWidth, int newHeight, std::uint8_t mode)
{
    ClearSelectionRegion();
    const bool ok = transformPicture([&](QImage &picture) {
        QImage resized;
        if (!ResamplePicture(resized, m_refBitmap, newWidth, newHeight, m_palette, mode != 0))
            return false;
        picture = resized;
        return true;
    });
    if (ok)
        notifyPalette();
    return ok;
}

bool TPatternGrid::CropToRegion()
{
    DropFloatingObjects();
    SetRepeatView(false);
    QImage cropped;
    if (m_selectionRegion.isEmpty() || !CopyRegionBoxToBitmap(m_picture, cropped, m_selectionRegion))
        return false;
    m_picture = cropped;
    ClearSelectionRegion();
    RefreshView();
    const bool recorded = SaveImageUndoStep();
    RebuildDisplayBitmap();
    ResetRepeatInfo();
    if (recorded)
        m_undoStore->UpdateTopState();
    else
        NotifyMainWindow();
    RebuildReducedView();
    Repaint();
    return true;
}

// The blank columns are found in RefBitmap and removed from both pictures, so that the
// step records the picture before and after in one.
bool TPatternGrid::RemoveBlank()
{
    const QRegion region = !m_selectionRegion.isEmpty()
        ? m_selectionRegion
        : QRegion(0, 0, std::max(1, int(m_repeatInfo.UnitWidth)), std::max(1, int(m_repeatInfo.UnitHeight)));
    return transformPicture([&](QImage &picture) {
        QImage test = m_refBitmap.size() == picture.size() ? m_refBitmap.copy() : picture.copy();
        RemoveBlankColumnsInRegion(test, picture, region);
        return true;
    });
}

bool TPatternGrid::JumpStart()
{
    return transformPicture([this](QImage &picture) {
        const QImage src = m_refBitmap.size() == picture.size() ? m_refBitmap : picture.copy();
        return JumpStartPicture(picture, src);
    });
}

bool TPatternGrid::ClearPicture()
{
    return transformPicture([this](QImage &picture) {
        picture.fill(m_backIndex);
        return true;
    });
}

bool TPatternGrid::InsertDeleteLines(int mode, int pos, int count, bool rows, bool record)
{
    DropFloatingObjects();
    SetRepeatView(false);
    if (m_picture.isNull())
        return false;
    QImage changed = m_picture.copy();
    QImage work;
    const bool ok = mode == 0 ? InsertPictureLines(changed, work, pos, GetBackColor(), rows, count)
                              : DeletePictureLines(changed, work, pos, GetBackColor(), rows, count);
    if (!ok)
        return false;
    m_picture = changed;
    const bool recorded = record && SaveImageUndoStep();
    // RefBitmap follows the new picture whether or not a step was recorded: the recorder
    // compares later edits with it, and a stale one would have the old size.
    RebuildDisplayBitmap();
    RefreshView();
    UpdateRepeatSize();
    if (recorded)
        m_undoStore->UpdateTopState();
    NotifyRefreshView(0);
    Repaint();
    return true;
}
