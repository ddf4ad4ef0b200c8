// The repeat view of the pattern grid: the picture shown tiled by its repeat layout, the
// outline of one unit, and the repeat state the main window shows.
#include "editor/patterngrid.h"

#include "core/base/error.h"
#include "core/settings/uitexts.h"
#include "editor/repeatcomposer.h"
#include "editor/tools/rectangletool.h"

#include <algorithm>
#include <cstring>

namespace {

// True when every cell of old is shown unchanged at the same place in composed: switching
// from old to composed then loses nothing.
bool reproduces(const QImage &old, const QImage &composed)
{
    if (old.isNull())
        return true;
    if (composed.isNull() || old.width() > composed.width() || old.height() > composed.height())
        return false;
    for (int y = 0; y < old.height(); ++y)
        if (std::memcmp(old.constScanLine(y), composed.constScanLine(y), std::size_t(old.width())) != 0)
            return false;
    return true;
}

} // namespace

void TPatternGrid::SetRepeatInfo(const TRepeatPic &info)
{
    m_repeatInfo.UnitWidth = info.UnitWidth;
    m_repeatInfo.UnitHeight = info.UnitHeight;
    m_repeatInfo.HorzCount = info.HorzCount;
    m_repeatInfo.VertCount = info.VertCount;
    CopyRotateArray(info.Rotate, m_repeatInfo.Rotate);
    m_repeatInfo.Offsets = info.Offsets.copy();
    m_repeatInfo.Value1 = info.Value1;
    m_repeatInfo.Value2 = info.Value2;
}

void TPatternGrid::SetRepeatDisplayOn(bool on)
{
    m_repeatInfo.Flags[0] = on ? 1 : 0;
    SetRepeatDisplay(m_repeatInfo.Flags[2] != 0);
}

int TPatternGrid::RepeatState() const
{
    if (!m_repeatInfo.Flags[0])
        return 0;
    return (m_repeatInfo.Flags[1] ? 2 : 3) + (m_repeatInfo.Flags[2] ? 2 : 4);
}

void TPatternGrid::clearRepeatFrame()
{
    m_repeatFrameObject->Clear();
}

TRect TPatternGrid::RepeatFrame() const
{
    const TRectangleLine &frame = *m_repeatFrameObject;
    if (frame.GetPointCount() < 2)
        return {};
    const TPoint a = frame.Vertex(0).Point(), b = frame.Vertex(1).Point();
    return { a.X, a.Y, b.X, b.Y };
}

void TPatternGrid::SetRepeatDisplay(bool show)
{
    m_repeatInfo.Flags[2] = show ? 1 : 0;
    clearRepeatFrame();
    if (show && m_repeatInfo.Flags[0] && m_repeatInfo.UnitWidth > 0 && m_repeatInfo.UnitHeight > 0) {
        // The vertices are cells, but AddPoint takes points of the (possibly reduced)
        // view: they go in at the scale 1, so that no rounding moves the corners.
        TRectangleLine &frame = *m_repeatFrameObject;
        frame.SetScaleX(1.0);
        frame.SetScaleY(1.0);
        frame.AddPoint({ 0, 0 });
        frame.AddPoint({ m_repeatInfo.UnitWidth - 1, m_repeatInfo.UnitHeight - 1 });
        frame.SetScaleX(m_scaleX);
        frame.SetScaleY(m_scaleY);
        frame.SetMode(TDrawMode::Ready);
    }
    Repaint();
    NotifyMainWindow();
}

void TPatternGrid::ResetRepeatInfo()
{
    m_repeatInfo.UnitWidth = m_picture.width();
    m_repeatInfo.UnitHeight = m_picture.height();
    m_repeatInfo.HorzCount = 1;
    m_repeatInfo.VertCount = 1;
    m_repeatInfo.Value1 = TMergePic::PlainGrid;
    m_repeatInfo.Rotate = TRotateArray();
    m_repeatInfo.Offsets = TPicOffSetArray();
    m_repeatInfo.Value2 = 0;
    m_repeatInfo.Flags[0] = m_repeatInfo.Flags[1] = m_repeatInfo.Flags[2] = 0;
    clearRepeatFrame();
    Repaint();
    NotifyMainWindow();
}

// The unit is the top-left block of the recorded picture, cut to the picture where the
// layout names a larger unit.
QImage TPatternGrid::repeatUnit() const
{
    const int w = std::clamp(int(m_repeatInfo.UnitWidth), 1, std::max(1, m_refBitmap.width()));
    const int h = std::clamp(int(m_repeatInfo.UnitHeight), 1, std::max(1, m_refBitmap.height()));
    return m_refBitmap.copy(0, 0, w, h);
}

bool TPatternGrid::composeRepeat(const QImage &unit, QImage &composed, QString *error)
{
    TMergePic composer;
    composer.SetUnitPicture(unit);
    composer.SetRepeatInfo(m_repeatInfo);
    if (!composer.Compose(m_repeatInfo.Value1, m_repeatInfo.Value2, m_repeatInfo.Rotate, error))
        return false;
    // The recorder copies edits into the repeats by these offsets: they follow the
    // picture actually shown.
    m_repeatInfo.Offsets = composer.Offsets().copy();
    composed = composer.TakeResult();
    return true;
}

bool TPatternGrid::SetRepeatView(bool show, QString *error)
{
    TRepeatPic &rep = m_repeatInfo;
    if ((rep.Flags[1] != 0) == show)
        return true;
    if (show && rep.HorzCount <= 1 && rep.VertCount <= 1) {
        rep.Flags[1] = 1;
        SetRepeatDisplay(rep.Flags[2] != 0);
        return true;
    }
    if (m_refBitmap.isNull()) {
        rep.Flags[1] = show ? 1 : 0;
        return true;
    }
    DropFloatingObjects();
    const QImage unit = repeatUnit();
    QImage composed;
    QString why;
    const bool composedOk = composeRepeat(unit, composed, &why);
    if (show && !composedOk)
        return Fail(error, why);

    // The picture shown now must come back from the new one, or be kept in an undo step:
    // a layout composed in place and then edited outside its first unit holds cells
    // that neither the unit nor a new composition gives back.
    const bool keepOld = !composedOk || !reproduces(m_refBitmap, composed);
    const QImage oldPicture = m_picture;
    m_picture = show ? composed : unit;
    if (keepOld && !SaveImageUndoStep(error)) {
        m_picture = oldPicture;
        return false;
    }
    rep.Flags[1] = show ? 1 : 0;
    if (keepOld)
        m_undoStore->UpdateTopState();
    else if (show)
        m_modified = true; // the document now holds the composed picture
    RebuildDisplayBitmap();
    RefreshView();
    SetRepeatDisplay(rep.Flags[2] != 0);
    return true;
}

bool TPatternGrid::ApplyRepeatLayout(const QImage &composed, const TRepeatPic &layout, QString *error)
{
    if (composed.isNull() || composed.format() != QImage::Format_Indexed8 || m_picture.isNull())
        return Fail(error, GetUiMessage(UiKey::String::InputDateError));
    DropFloatingObjects();
    const bool settingsStep = m_repeatInfo.Flags[1] == 0 && reproduces(m_picture, composed);
    const QImage oldPicture = m_picture;
    if (settingsStep) {
        // With the view hidden the picture is the unit: Undo takes it back by this size.
        UpdateRepeatSize();
        m_undoStore->SaveStateStep();
        m_picture = composed;
    } else {
        m_picture = composed;
        if (!SaveImageUndoStep(error)) {
            m_picture = oldPicture;
            return false;
        }
    }
    SetRepeatInfo(layout);
    m_repeatInfo.Flags[0] = 1;
    m_repeatInfo.Flags[1] = 1;
    RebuildDisplayBitmap();
    RefreshView();
    SetRepeatDisplayOn(true);
    m_undoStore->UpdateTopState();
    RebuildReducedView();
    Repaint();
    return true;
}
