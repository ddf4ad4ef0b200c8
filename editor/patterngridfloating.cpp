// The floating objects of the pattern grid: taking a piece up, moving it, stamping it where
// it lies, and following the undo store, which owns every piece as the step that made it.
#include "editor/patterngrid.h"

#include "core/base/cursors.h"
#include "editor/floatingpicture.h"
#include "editor/insertword.h"
#include "editor/tools/customline.h"

#include <QCursor>

#include <algorithm>
#include <numbers>

namespace {

// The pointer over a frame handle: the size cursor of its direction (Qt shapes are given
// as negative cursor ids), the turning cursor for the rotation handle.
int handleCursor(int handle)
{
    switch (handle) {
    case 0:
    case 4:
        return -int(Qt::SizeFDiagCursor);
    case 2:
    case 6:
        return -int(Qt::SizeBDiagCursor);
    case 1:
    case 5:
        return -int(Qt::SizeVerCursor);
    case 3:
    case 7:
        return -int(Qt::SizeHorCursor);
    case 8:
        return crRotate;
    default:
        return crMovingArea;
    }
}

// The newest step of the undo side that is not a settings-only step.
const TUndoData *newestEditStep(const TUndo &store)
{
    for (auto it = store.UndoSteps.rbegin(); it != store.UndoSteps.rend(); ++it)
        if ((*it)->Kind != TUndoKind::State)
            return it->get();
    return nullptr;
}

} // namespace

void TPatternGrid::forgetFloatingObjects()
{
    m_floatingBitmap = nullptr;
    m_floatingText = nullptr;
    m_floatingHidden = false;
    m_floatingTaken = false;
    m_floatingDragged = false;
}

// A piece lives in the undo side's list; once its step left that side (undone, or dropped
// as the oldest step) the next step may free it, so the grid lets go of it at once.
void TPatternGrid::checkFloatingObjects()
{
    if (!m_undoStore) {
        forgetFloatingObjects();
        return;
    }
    const auto held = [](const TUndoObjectList &list, const void *object) {
        return std::any_of(list.begin(), list.end(), [object](const auto &o) { return o.get() == object; });
    };
    if (m_floatingBitmap && !held(m_undoStore->UndoBitmaps, m_floatingBitmap))
        m_floatingBitmap = nullptr;
    if (m_floatingText && !held(m_undoStore->UndoTexts, m_floatingText))
        m_floatingText = nullptr;
}

void TPatternGrid::AttachFloatingBitmap(std::unique_ptr<TBmp> bitmap, TPoint pos)
{
    if (!bitmap)
        return;
    DropFloatingObjects();
    TBmp *piece = bitmap.get();
    piece->SetOnHandleChange([this](TBmp &, int handle) { SetToolCursor(handleCursor(handle)); });
    piece->SetOnActivate([this](TBmp &) { Repaint(); });
    piece->SetOnDeactivate([this](TBmp &) { Repaint(); });
    piece->SetPictureCanvas(&m_picture);
    if (piece->ColorFilter()) {
        piece->UpdateTransparentFromUsage();
    } else {
        TColorSet transparent = m_transColorSet;
        if (piece->KeyIndex() >= 0)
            transparent.set(std::size_t(piece->KeyIndex()));
        piece->SetTransparentColors(transparent);
    }
    piece->SetHorzScale(m_scaleX);
    piece->SetVertScale(m_scaleY);
    if (m_selectionRegion.isEmpty())
        piece->UpdateFrame(pos);
    piece->SetActive(true);
    piece->SetShowFrame(true);
    m_undoStore->PushObjectStep(TUndoKind::Bitmap, std::move(bitmap));
    m_floatingBitmap = piece;
    m_floatingHidden = false;
    checkFloatingObjects();
    ClearRegion();
    NotifyEditState();
}

bool TPatternGrid::stampFloatingBitmap(bool record)
{
    TBmp *piece = m_floatingBitmap;
    if (!piece || m_floatingHidden || m_picture.isNull())
        return false;
    piece->SetShowFrame(true); // a drag still under way ends where it is
    piece->SetPictureCanvas(&m_picture);
    if (!piece->StampOntoPicture())
        return false;
    if (!record)
        return true;
    recordStampedBox(piece->Bounds());
    return true;
}

void TPatternGrid::recordStampedBox(const TRect &bounds)
{
    const TRect box { std::max(0, bounds.Left), std::max(0, bounds.Top),
        std::min(m_picture.width() - 1, bounds.Right), std::min(m_picture.height() - 1, bounds.Bottom) };
    // The grid lets go of the floating object before the step is recorded: a store at its
    // step limit frees the oldest step, which may be the object's own.
    forgetFloatingObjects();
    if (box.Left <= box.Right && box.Top <= box.Bottom)
        RecordRectUndoStep(box, false, false);
    RebuildReducedView();
}

void TPatternGrid::DropFloatingObjects()
{
    ++m_wholePictureChanges;
    checkFloatingObjects();
    if (!m_floatingBitmap && !m_floatingText)
        return;
    // While a step is replayed the pieces only follow the store: nothing is stamped.
    if (!m_replayingFloating && !stampFloatingText(true))
        stampFloatingBitmap(true);
    forgetFloatingObjects();
    Repaint();
    NotifyEditState();
}

void TPatternGrid::ReleaseFloatingObjects()
{
    checkFloatingObjects();
    if (m_floatingText)
        m_floatingText->SetFontColor(GetPaletteColor(m_palette, m_textIndex), m_textIndex);
    DropFloatingObjects();
}

void TPatternGrid::takeUpFloatingText(TInsertWord &text)
{
    text.SetOnHandleHit([this](TInsertWord &, int handle) { SetToolCursor(handleCursor(handle)); });
    text.SetOnStateChange([this](TInsertWord &) { Repaint(); });
    text.SetPictureCanvas(&m_picture);
    text.SetWorkCanvas(&m_viewBitmap);
    text.SetScaleX(m_scaleX);
    text.SetScaleY(m_scaleY);
    text.SetActive(true);
    text.SetShowHandles(1);
    text.CancelDrag();
}

void TPatternGrid::AttachFloatingText(std::unique_ptr<TInsertWord> text)
{
    if (!text)
        return;
    DropFloatingObjects();
    TInsertWord *shown = text.get();
    takeUpFloatingText(*shown);
    m_undoStore->PushObjectStep(TUndoKind::Text, std::move(text));
    m_floatingText = shown;
    m_floatingHidden = false;
    checkFloatingObjects();
    ClearRegion();
    NotifyEditState();
}

void TPatternGrid::SetFloatingObjectsState(int mode)
{
    switch (mode) {
    case 1:
    case 2:
        // Before a replay: shown or hidden, the piece is not stamped meanwhile.
        m_replayingFloating = true;
        checkFloatingObjects();
        m_floatingHidden = mode == 1 && (m_floatingBitmap || m_floatingText);
        break;
    case 3:
        checkFloatingObjects();
        if (!stampFloatingText(false))
            stampFloatingBitmap(false);
        break;
    default: {
        // After a replay: the piece of the newest step floats again; any other is let go.
        m_replayingFloating = false;
        forgetFloatingObjects();
        const TUndoData *top = m_undoStore ? newestEditStep(*m_undoStore) : nullptr;
        if (top && top->Kind == TUndoKind::Bitmap && !m_undoStore->UndoBitmaps.empty()) {
            m_floatingBitmap = dynamic_cast<TBmp *>(m_undoStore->UndoBitmaps.back().get());
            if (m_floatingBitmap) {
                m_floatingBitmap->SetPictureCanvas(&m_picture);
                m_floatingBitmap->SetActive(true);
                m_floatingBitmap->SetShowFrame(true);
            }
        }
        if (top && top->Kind == TUndoKind::Text && !m_undoStore->UndoTexts.empty()) {
            m_floatingText = dynamic_cast<TInsertWord *>(m_undoStore->UndoTexts.back().get());
            if (m_floatingText) {
                takeUpFloatingText(*m_floatingText);
                m_floatingText->SetFontColor(GetPaletteColor(m_palette, m_textIndex), m_textIndex);
            }
        }
        Repaint();
        break;
    }
    }
}

bool TPatternGrid::MoveFloatingObject(int dx, int dy)
{
    checkFloatingObjects();
    if (!m_floatingBitmap && m_floatingText) {
        const TPoint p = m_floatingText->Position();
        m_floatingText->SetPosition({ p.X + dx, p.Y + dy });
        Repaint();
        return true;
    }
    if (!m_floatingBitmap)
        return false;
    const TRect r = m_floatingBitmap->SelRect();
    m_floatingBitmap->UpdateFrame({ r.Left + dx, r.Top + dy });
    Repaint();
    return true;
}

// The piece's step is brought to the top of the undo side and undone: the piece goes with
// it, and Redo brings it back.
void TPatternGrid::RemoveFloatingObject()
{
    checkFloatingObjects();
    if (m_floatingText && m_undoStore && !m_floatingHidden) {
        TUndo &store = *m_undoStore;
        auto object = std::find_if(store.UndoTexts.begin(), store.UndoTexts.end(),
            [this](const auto &o) { return o.get() == m_floatingText; });
        if (object == store.UndoTexts.end())
            return;
        const auto k = std::distance(store.UndoTexts.begin(), object);
        std::ptrdiff_t seen = -1;
        auto step = std::find_if(store.UndoSteps.begin(), store.UndoSteps.end(),
            [&seen, k](const TUndoStep &s) { return s->Kind == TUndoKind::Text && ++seen == k; });
        if (step == store.UndoSteps.end())
            return;
        std::rotate(step, step + 1, store.UndoSteps.end());
        std::rotate(object, object + 1, store.UndoTexts.end());
        Undo();
        NotifyEditState();
        return;
    }
    if (!m_floatingBitmap || !m_undoStore)
        return;
    TUndo &store = *m_undoStore;
    auto object = std::find_if(store.UndoBitmaps.begin(), store.UndoBitmaps.end(),
        [this](const auto &o) { return o.get() == m_floatingBitmap; });
    if (object == store.UndoBitmaps.end())
        return;
    // Objects pair with their steps in order: the piece's step is the k-th picture step.
    const auto k = std::distance(store.UndoBitmaps.begin(), object);
    std::ptrdiff_t seen = -1;
    auto step = std::find_if(store.UndoSteps.begin(), store.UndoSteps.end(),
        [&seen, k](const TUndoStep &s) { return s->Kind == TUndoKind::Bitmap && ++seen == k; });
    if (step == store.UndoSteps.end())
        return;
    std::rotate(step, step + 1, store.UndoSteps.end());
    std::rotate(object, object + 1, store.UndoBitmaps.end());
    Undo();
    NotifyEditState();
}

bool TPatternGrid::TakeFloatingAt(TPoint cell)
{
    checkFloatingObjects();
    m_floatingTaken = false;
    m_floatingDragged = false;
    if (!m_floatingBitmap && m_floatingText && !m_floatingHidden) {
        m_floatingTaken = m_floatingText->HitTest(cell) != nullptr;
        m_floatingDragLast = cell;
        Repaint();
        return m_floatingTaken;
    }
    if (!m_floatingBitmap || m_floatingHidden)
        return false;
    m_floatingTaken = m_floatingBitmap->SelectAt(cell) != nullptr;
    m_floatingDragLast = cell;
    Repaint();
    return m_floatingTaken;
}

bool TPatternGrid::TakeFloatingInside(TPoint cell)
{
    checkFloatingObjects();
    m_floatingTaken = false;
    m_floatingDragged = false;
    if (!m_floatingBitmap || m_floatingHidden)
        return false;
    m_floatingBitmap->GrabInside();
    m_floatingTaken = true;
    m_floatingDragLast = cell;
    return true;
}

void TPatternGrid::DragFloatingTo(TPoint cell, bool shift, bool ctrl)
{
    checkFloatingObjects();
    if (!m_floatingTaken || (!m_floatingBitmap && !m_floatingText))
        return;
    if (!m_floatingDragged) {
        // What was undone before the piece moved can no longer be redone onto it.
        m_undoStore->ClearRedoSide();
        m_floatingDragged = true;
        NotifyUndoState();
    }
    const int dx = shift ? 0 : cell.X - m_floatingDragLast.X;
    const int dy = ctrl ? 0 : cell.Y - m_floatingDragLast.Y;
    if (!m_floatingBitmap) {
        // The text moves its own idea of the pointer on: a side stretched by whole
        // characters went a little less far than the pointer.
        if (dx != 0 || dy != 0)
            m_floatingText->Drag(dx, dy, m_floatingDragLast);
        Repaint();
        return;
    }
    m_floatingDragLast = cell;
    if (dx == 0 && dy == 0)
        return;
    m_floatingBitmap->DragHandleTo(dx, dy, cell);
    Repaint();
}

void TPatternGrid::EndFloatingDrag()
{
    checkFloatingObjects();
    if (m_floatingTaken && m_floatingBitmap)
        m_floatingBitmap->SetShowFrame(true);
    if (m_floatingText) {
        m_floatingText->SetShowHandles(1);
        m_floatingText->CancelDrag();
    }
    m_floatingTaken = false;
    m_floatingDragged = false;
    SetToolCursor(crMovingArea);
    Repaint();
    NotifyUndoState();
}

void TPatternGrid::HoverFloatingCursor(TPoint cell)
{
    checkFloatingObjects();
    if (m_floatingBitmap && !m_floatingHidden && m_floatingBitmap->HitTestHandle(cell, false))
        return; // the handle's cursor is set by the piece
    if (!m_floatingBitmap && m_floatingText && !m_floatingHidden) {
        SetToolCursor(handleCursor(m_floatingText->HandleAt(cell)));
        return;
    }
    SetToolCursor(crMovingArea);
}

void TPatternGrid::IncludeTransColor(std::uint8_t index)
{
    TColorSet colors = m_transColorSet;
    colors.set(index);
    SetTransColorSet(colors);
}

void TPatternGrid::ExcludeTransColor(std::uint8_t index)
{
    TColorSet colors = m_transColorSet;
    colors.reset(index);
    SetTransColorSet(colors);
}

// Every piece the store keeps, shown or waiting on either side, takes the change: one taken
// up again by undo or redo shows the colours the grid has now.
void TPatternGrid::SetTransColorSet(const TColorSet &colors)
{
    const TColorSet changed = colors ^ m_transColorSet;
    m_transColorSet = colors;
    if (changed.none() || !m_undoStore)
        return;
    for (const TUndoObjectList *list : { &m_undoStore->UndoBitmaps, &m_undoStore->RedoBitmaps })
        for (const auto &o : *list)
            if (auto *piece = dynamic_cast<TBmp *>(o.get()))
                for (int i = 0; i < 256; ++i)
                    if (changed.test(std::size_t(i)))
                        colors.test(std::size_t(i)) ? piece->AddTransparentColor(std::uint8_t(i))
                                                    : piece->RemoveTransparentColor(std::uint8_t(i));
    Repaint();
}

void TPatternGrid::applyScalesToFloatingPictures()
{
    if (!m_undoStore)
        return;
    for (const TUndoObjectList *list : { &m_undoStore->UndoBitmaps, &m_undoStore->RedoBitmaps })
        for (const auto &o : *list)
            if (auto *piece = dynamic_cast<TBmp *>(o.get())) {
                piece->SetHorzScale(m_scaleX);
                piece->SetVertScale(m_scaleY);
            }
    for (const TUndoObjectList *list : { &m_undoStore->UndoTexts, &m_undoStore->RedoTexts })
        for (const auto &o : *list)
            if (auto *text = dynamic_cast<TInsertWord *>(o.get())) {
                text->SetScaleX(m_scaleX);
                text->SetScaleY(m_scaleY);
            }
}

bool TPatternGrid::flipFloatingBitmap(bool horizontal)
{
    checkFloatingObjects();
    if (!m_floatingBitmap)
        return false;
    horizontal ? m_floatingBitmap->FlipHorizontal() : m_floatingBitmap->FlipVertical();
    Repaint();
    return true;
}

bool TPatternGrid::turnFloatingBitmap(double delta)
{
    checkFloatingObjects();
    if (!m_floatingBitmap)
        return false;
    m_floatingBitmap->TurnBy(delta);
    Repaint();
    return true;
}

void TPatternGrid::paintFloatingBitmap() const
{
    if (!m_floatingBitmap || m_floatingHidden || m_pictureSource)
        return;
    m_floatingBitmap->SetFrameCanvas(&m_viewBitmap);
    m_floatingBitmap->SetViewMapping(-LeftCol(), -TopRow());
    m_floatingBitmap->DrawWithFrame();
}

// --- Shape copies kept with the steps of the shape tools --------------------------------

std::unique_ptr<TUndoObject> TPatternGrid::CopyDrawObject() const
{
    if (!m_drawObject || m_drawObject->GetPointCount() < 2)
        return nullptr;
    return m_drawObject->Clone();
}

void TPatternGrid::RestoreDrawObject(const TUndoObject &shape, TToolId toolId)
{
    m_toolId = toolId;
    const auto *source = dynamic_cast<const TDrawObject *>(&shape);
    if (!source)
        return;
    CreateDrawObject(m_drawObject, toolId, true);
    if (m_drawObject
        && QString::fromLatin1(m_drawObject->ClassName()) == QString::fromLatin1(source->ClassName())) {
        m_drawObject->AssignTool(*source);
        m_drawObject->SetPictureCanvas(&m_picture);
        m_drawObject->SetPreviewCanvas(&m_viewBitmap);
    }
    Repaint();
}

void TPatternGrid::ResetDrawObject()
{
    if (m_drawObject)
        m_drawObject->Clear();
}
