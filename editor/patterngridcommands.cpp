// The whole-picture commands of the pattern grid: mirrors, links, flips, quarter turns,
// resizing, cropping, removing blank columns, jump start, clearing, and inserting and
// deleting lines. Each works on one repeat unit (the repeat view is hidden first) and
// records one whole-picture step.
#include "editor/patterngrid.h"

#include "core/base/error.h"
#include "core/palette/regions.h"
#include "core/picture/imageproc.h"
#include "core/settings/uitexts.h"

#include <numbers>

// Recipe C from the notifications on: the whole-picture step holds what turns RefBitmap
// (the picture before) into Picture; then RefBitmap follows Picture and the step takes the
// settings after. A step that cannot be kept refuses the command: the picture comes back.
bool TPatternGrid::finishWholePictureCommand(bool sizeChanged, const TTurnRecord *turn)
{
    if (sizeChanged) {
        RefreshView();
    } else {
        Repaint();
        NotifyRefreshView(1);
    }
    bool recorded = true;
    if (turn)
        m_undoStore->SaveTurnStep(turn->Turn, turn->Box);
    else
        recorded = SaveWholePictureUndoStep();
    if (!recorded && restorePictureFromRef())
        return false;
    rebuildRefAfterResize();
    UpdateRepeatSize();
    // A step that could not be written must not give its settings to the step before.
    if (recorded)
        m_undoStore->UpdateTopState();
    else
        NotifyMainWindow();
    RebuildReducedView();
    Repaint();
    return true;
}

// A grid without a reference copy (one that never recorded a change) has nothing to put
// back: it keeps the change, unrecorded, and false is returned.
bool TPatternGrid::restorePictureFromRef()
{
    if (m_refBitmap.isNull())
        return false;
    const QSize size = m_picture.size();
    m_picture = m_refBitmap;
    RebuildDisplayBitmap();
    if (m_picture.size() != size)
        RefreshView();
    UpdateRepeatSize();
    NotifyMainWindow();
    RebuildReducedView();
    Repaint();
    return true;
}

bool TPatternGrid::transformPicture(
    const std::function<bool(QImage &picture)> &transform, const TTurnRecord *turn)
{
    DropFloatingObjects();
    SetRepeatView(false);
    if (m_picture.isNull())
        return false;
    const QSize before = m_picture.size();
    if (!transform(m_picture))
        return false;
    return finishWholePictureCommand(m_picture.size() != before, turn);
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
// clamped to the picture, right and bottom exclusive. Flips and turns are recorded as
// themselves: they are their own (or each other's) inverse and need no cells kept.
// A floating picture takes the flips and turns itself, and nothing is recorded: the piece
// is not part of the picture until it is stamped.
bool TPatternGrid::FlipLeftRight()
{
    if (flipFloatingBitmap(true) || turnFloatingText(-std::numbers::pi))
        return true;
    return flipPicture(TPictureTurn::FlipLeftRight);
}

bool TPatternGrid::FlipTopBottom()
{
    if (flipFloatingBitmap(false) || turnFloatingText(-std::numbers::pi))
        return true;
    return flipPicture(TPictureTurn::FlipTopBottom);
}

bool TPatternGrid::flipPicture(TPictureTurn turn)
{
    TTurnRecord record { turn, {} };
    return transformPicture(
        [&](QImage &picture) {
            record.Box = m_selectionRegion.isEmpty()
                ? TRect { 0, 0, picture.width(), picture.height() }
                : ClampedRegionBox(m_selectionRegion, picture.width(), picture.height());
            if (record.Box.Width() <= 0 || record.Box.Height() <= 0)
                return false;
            if (turn == TPictureTurn::FlipLeftRight)
                FlipRectLeftRight(picture, record.Box);
            else
                FlipRectTopBottom(picture, record.Box);
            return true;
        },
        &record);
}

bool TPatternGrid::turnPicture(TPictureTurn turn)
{
    const double angle = turn == TPictureTurn::HalfTurn ? 180.0
        : turn == TPictureTurn::QuarterLeft             ? 90.0
                                                        : -90.0;
    const TTurnRecord record { turn, {} };
    return transformPicture(
        [&](QImage &picture) {
            // A half turn works in place; quarter turns read the recorded picture.
            const QImage source = m_refBitmap.size() == picture.size() ? m_refBitmap : picture.copy();
            if (!RotatePictureQuarter(picture, source, angle))
                return false;
            ClearSelectionRegion();
            return true;
        },
        &record);
}

bool TPatternGrid::Rotate180()
{
    if (turnFloatingBitmap(-std::numbers::pi) || turnFloatingText(-std::numbers::pi))
        return true;
    return turnPicture(TPictureTurn::HalfTurn);
}

bool TPatternGrid::Rotate270()
{
    if (turnFloatingBitmap(std::numbers::pi / 2) || turnFloatingText(-std::numbers::pi / 2))
        return true;
    return turnPicture(TPictureTurn::QuarterRight);
}

bool TPatternGrid::Rotate90()
{
    if (turnFloatingBitmap(-std::numbers::pi / 2) || turnFloatingText(std::numbers::pi / 2))
        return true;
    return turnPicture(TPictureTurn::QuarterLeft);
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

bool TPatternGrid::RotatePictureByAngle(double angle, QString *error)
{
    ClearSelectionRegion();
    bool tooLarge = false;
    const bool ok = transformPicture([&](QImage &picture) {
        QImage turned;
        if (!::RotatePictureByAngle(turned, picture, 0, angle)) {
            tooLarge = true;
            return false;
        }
        picture = turned;
        return true;
    });
    if (ok)
        return true;
    return Fail(error,
        tooLarge
            ? GetUiMessage(UiKey::String::InputDateError)
            : (m_lastUndoError.isEmpty() ? GetUiMessage(UiKey::String::InputDateError) : m_lastUndoError));
}

bool TPatternGrid::CropToRegion()
{
    DropFloatingObjects();
    SetRepeatView(false);
    QImage cropped;
    if (m_selectionRegion.isEmpty() || !CopyRegionBoxToBitmap(m_picture, cropped, m_selectionRegion))
        return false;
    m_picture = cropped;
    RefreshView();
    const bool recorded = SaveWholePictureUndoStep();
    if (!recorded && restorePictureFromRef())
        return false;
    ClearSelectionRegion();
    rebuildRefAfterResize();
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
    // The lines are inserted into (or left out of) a new picture: the old one is only read.
    QImage changed = m_picture;
    QImage work;
    const bool ok = mode == 0 ? InsertPictureLines(changed, work, pos, GetBackColor(), rows, count)
                              : DeletePictureLines(changed, work, pos, GetBackColor(), rows, count);
    if (!ok)
        return false;
    m_picture = changed;
    const bool recorded = record && SaveWholePictureUndoStep();
    if (record && !recorded && restorePictureFromRef())
        return false;
    // RefBitmap follows the new picture whether or not a step was recorded: the recorder
    // compares later edits with it, and a stale one would have the old size.
    rebuildRefAfterResize();
    RefreshView();
    UpdateRepeatSize();
    if (recorded)
        m_undoStore->UpdateTopState();
    NotifyRefreshView(0);
    Repaint();
    return true;
}

bool TPatternGrid::RunWholePictureCommand(const std::function<bool(QImage &picture)> &transform)
{
    return transformPicture(transform);
}
