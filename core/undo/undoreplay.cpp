// Undo and redo: replaying the newest step of one side and moving it to the other.
#include "core/undo/undo.h"

#include "core/base/error.h"
#include "core/picture/imageproc.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/undo/undofiles.h"

#include <algorithm>

TParam CopySettings(const TParam &p)
{
    TParam out = p;
    TRotateArray rotate(p.Repeat.Rotate.size());
    for (qsizetype i = 0; i < rotate.size(); ++i)
        rotate[i] = p.Repeat.Rotate[i].copy();
    out.Repeat.Rotate = rotate;
    out.Repeat.Offsets = p.Repeat.Offsets.copy();
    return out;
}

namespace {

// The shift that puts a cyclic shift by count back, for a picture side of size n.
int reverseShift(int count, int n)
{
    if (n <= 0)
        return 0;
    const int c = count % n;
    return (n - (c < 0 ? c + n : c)) % n;
}

void moveObject(TUndoObjectList &from, TUndoObjectList &to)
{
    if (from.empty())
        return;
    to.push_back(std::move(from.back()));
    from.pop_back();
}

void moveObject(TUndoObjectList &from, TUndoObjectList &to, const TUndoObject *obj)
{
    auto it = std::find_if(from.rbegin(), from.rend(), [obj](const auto &o) { return o.get() == obj; });
    if (it == from.rend())
        return;
    to.push_back(std::move(*it));
    from.erase(std::next(it).base());
}

TPictureTurn inverseTurn(TPictureTurn turn)
{
    switch (turn) {
    case TPictureTurn::QuarterLeft:
        return TPictureTurn::QuarterRight;
    case TPictureTurn::QuarterRight:
        return TPictureTurn::QuarterLeft;
    default:
        return turn; // flips and the half turn undo themselves
    }
}

// A quarter turn writes into spare when it fits and leaves the picture that went there, for
// the next turn back.
void turnPicture(QImage &picture, TPictureTurn turn, const TRect &box, QImage &spare)
{
    switch (turn) {
    case TPictureTurn::FlipLeftRight:
        FlipRectLeftRight(picture, box);
        break;
    case TPictureTurn::FlipTopBottom:
        FlipRectTopBottom(picture, box);
        break;
    case TPictureTurn::HalfTurn:
        RotatePictureQuarter(picture, picture, 180.0);
        break;
    case TPictureTurn::QuarterLeft:
    case TPictureTurn::QuarterRight: {
        QImage source = picture;
        RotatePictureQuarter(picture, source, turn == TPictureTurn::QuarterLeft ? 90.0 : -90.0, &spare);
        spare = std::move(source);
        break;
    }
    }
}

// The cells a step works on before anything changes: a whole-picture file read, or a
// packed step applied (it replays from RefBitmap and cannot half apply). False when the
// step cannot be replayed; the grid is as it was then.
bool prepareStep(TUndoGridLink &grid, const TUndoData &step, bool undoing, QImage &picture,
    TPalette256 &palette, QImage &spare, QString *error)
{
    const QString &file = undoing ? step.BeforeFile : step.AfterFile;
    if (step.Packed) {
        if (!XorPlaneInto(*step.Packed, grid.RefBitmap(), step.PackedAt, &grid.Picture()))
            return Fail(error, GetUiMessage(UiKey::String::UndoStepDamaged));
        // A whole picture comes back with its own colour table, as from a file.
        if (step.Kind == TUndoKind::Image)
            grid.Picture().setColorTable(undoing ? step.BeforeTable : step.AfterTable);
        return true;
    }
    if (step.Kind == TUndoKind::Image && step.Turn) {
        if (grid.Picture().isNull() || grid.Picture().format() != QImage::Format_Indexed8)
            return Fail(error, GetUiMessage(UiKey::String::UndoStepDamaged));
        return true;
    }
    if (step.Kind == TUndoKind::Image && step.BeforePicture && step.AfterPicture) {
        if (!UnpackUndoPicture(undoing ? *step.BeforePicture : *step.AfterPicture, picture, &spare))
            return Fail(error, GetUiMessage(UiKey::String::UndoStepDamaged));
        return true;
    }
    if (step.Kind == TUndoKind::Image)
        return ReadUndoPicture(file, picture, error, &spare);
    if (step.Kind == TUndoKind::Palette)
        return ReadUndoPalette(file, palette, error);
    return true;
}

} // namespace

bool TUndo::Undo(QString *error)
{
    return applyStep(UndoSteps, RedoSteps, true, error);
}

bool TUndo::Redo(QString *error)
{
    return applyStep(RedoSteps, UndoSteps, false, error);
}

bool TUndo::applyStep(TUndoStepList &source, TUndoStepList &target, bool undoing, QString *error)
{
    if (source.empty())
        return true;
    TUndoData *step = source.back().get();

    // Read what the step needs from its file first: a file that is missing or damaged
    // leaves the grid and both lists as they were.
    QImage picture;
    TPalette256 palette {};
    if (!prepareStep(Grid, *step, undoing, picture, palette, m_sparePicture, error))
        return false;

    // The step leaves its list before the grid is called back, so that nothing the grid
    // does meanwhile can move it.
    TUndoStep owned = std::move(source.back());
    source.pop_back();

    Grid.SetFloatingObjectsState(undoing ? FloatingBeforeUndo : FloatingBeforeRedo);
    switch (step->Kind) {
    case TUndoKind::Image:
        // A packed step has already brought Picture to the other side; a turn step turns it.
        if (step->Turn)
            turnPicture(Grid.Picture(), undoing ? inverseTurn(*step->Turn) : *step->Turn, step->TurnBox,
                m_sparePicture);
        if (step->Packed) {
            Grid.ReplacePictureHeldByRef(Grid.Picture());
        } else if (step->Turn) {
            Grid.ReplacePicture(Grid.Picture());
        } else {
            // A picture of another size that goes is kept for the next replay from files or memory
            // (stepping back over the same resize); it is used only once nobody else holds
            // it. One of the same size is not held: RefBitmap may still share its cells and
            // would then take a fresh copy when written.
            QImage going = picture.size() != Grid.Picture().size() ? Grid.Picture() : QImage();
            Grid.ReplacePicture(picture);
            m_sparePicture = std::move(going);
        }
        break;
    case TUndoKind::Palette:
        Grid.ReplacePalette(palette);
        break;
    case TUndoKind::Text:
        undoing ? moveObject(UndoTexts, RedoTexts) : moveObject(RedoTexts, UndoTexts);
        break;
    case TUndoKind::Bitmap:
        undoing ? moveObject(UndoBitmaps, RedoBitmaps) : moveObject(RedoBitmaps, UndoBitmaps);
        break;
    case TUndoKind::State:
        break;
    case TUndoKind::ShiftVert:
    case TUndoKind::ShiftHorz: {
        // Undo shifts by the rest of the picture's own side, so the cells come back.
        const bool vert = step->Kind == TUndoKind::ShiftVert;
        const int side = vert ? Grid.Picture().height() : Grid.Picture().width();
        const int count = undoing ? reverseShift(step->Count, side) : step->Count;
        Grid.SetUndoMode(UndoModeSuspended);
        vert ? Grid.ShiftPictureVert(count) : Grid.ShiftPictureHorz(count);
        Grid.SetUndoMode(UndoModeRecord);
        break;
    }
    default:
        if (!step->Packed)
            ApplyUndoPixels(Grid.Picture(), Grid.RefBitmap(), *step, true, undoing);
        break;
    }

    target.push_back(std::move(owned));

    if (step->ShapeCopy) {
        undoing ? moveObject(UndoShapes, RedoShapes, step->ShapeCopy)
                : moveObject(RedoShapes, UndoShapes, step->ShapeCopy);
    }

    // The drawing object follows the step: undoing a step that kept a shape brings that
    // shape back with the tool it was drawn with.
    if (undoing && step->ShapeCopy)
        Grid.RestoreDrawObject(*step->ShapeCopy, step->After.ToolId);
    else if (undoing || !IsClearMottleTool(Grid.ToolId()))
        Grid.ResetDrawObject();

    const TParam settings = CopySettings(undoing ? step->Before : step->After);
    RunState().HorzWidth = settings.HorzWidth;
    RunState().VertWidth = settings.VertWidth;
    Grid.NotifyPenWidth();
    Grid.RestoreSettings(settings, step->Kind != TUndoKind::Image);

    Grid.SetFloatingObjectsState(undoing ? FloatingAfterUndo : FloatingAfterRedo);
    Grid.NotifyMainWindow();
    Grid.ReapplyZoom();
    Grid.SetUndoMode(UndoModeRecord);
    return true;
}
