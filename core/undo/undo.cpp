// The undo store: recording steps, the step limit and the redo side.
#include "core/undo/undo.h"

#include "core/base/error.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/undo/undofiles.h"

#include <algorithm>

namespace {

int g_nextDocNo = 0;

} // namespace

// The registry of live stores lives in undosize.cpp.
void RegisterUndoStore(TUndo *store);
void UnregisterUndoStore(TUndo *store);

TUndo::TUndo(TUndoGridLink &grid)
    : MaxCount(std::max(1, StartSettings().MaxUndoCount))
    , Grid(grid)
    , m_docNo(g_nextDocNo++)
{
    RegisterUndoStore(this);
}

TUndo::~TUndo()
{
    UnregisterUndoStore(this);
    // The grid may be half destroyed here: free everything without calling it.
    FreeUndoList(UndoSteps);
    FreeUndoList(RedoSteps);
}

bool TUndo::recordingSuspended() const
{
    return Grid.UndoMode() == UndoModeSuspended;
}

void TUndo::clearRedo()
{
    FreeUndoList(RedoSteps);
    RedoBitmaps.clear();
    RedoTexts.clear();
    RedoShapes.clear();
}

TParam TUndo::currentSettings() const
{
    TParam p = Grid.CurrentSettings();
    p.HorzWidth = RunState().HorzWidth;
    p.VertWidth = RunState().VertWidth;
    return CopySettings(p);
}

std::size_t TUndo::PackedByteCount() const
{
    std::size_t n = 0;
    for (const TUndoStepList *list : { &UndoSteps, &RedoSteps })
        for (const TUndoStep &s : *list)
            n += (s->Packed ? s->Packed->PackedBytes() : 0)
                + (s->BeforePicture ? s->BeforePicture->PackedBytes() : 0)
                + (s->AfterPicture ? s->AfterPicture->PackedBytes() : 0);
    return n;
}

std::size_t TUndo::CellEntryCount() const
{
    std::size_t n = 0;
    for (const TUndoStep &s : UndoSteps)
        n += s->Data.size();
    for (const TUndoStep &s : RedoSteps)
        n += s->Data.size();
    return n;
}

// Frees the step at pos of one side together with what only it refers to: its shape copy
// and, for object steps, its floating object (objects pair with their steps in order).
void TUndo::dropStep(TUndoStepList &list, std::size_t pos, bool undoSide)
{
    TUndoData *step = list[pos].get();
    if (step->ShapeCopy) {
        TUndoObjectList &shapes = undoSide ? UndoShapes : RedoShapes;
        auto it = std::find_if(
            shapes.begin(), shapes.end(), [step](const auto &o) { return o.get() == step->ShapeCopy; });
        if (it != shapes.end())
            shapes.erase(it);
    }
    if (step->Kind == TUndoKind::Text || step->Kind == TUndoKind::Bitmap) {
        TUndoObjectList &objects = step->Kind == TUndoKind::Text ? (undoSide ? UndoTexts : RedoTexts)
                                                                 : (undoSide ? UndoBitmaps : RedoBitmaps);
        const auto index = std::size_t(std::count_if(list.begin(), list.begin() + std::ptrdiff_t(pos),
            [step](const TUndoStep &s) { return s->Kind == step->Kind; }));
        if (index < objects.size())
            objects.erase(objects.begin() + std::ptrdiff_t(index));
    }
    list.erase(list.begin() + std::ptrdiff_t(pos));
}

void TUndo::addStep(TUndoStep step)
{
    m_sparePicture = QImage();
    const TUndoKind kind = step->Kind;
    if (kind != TUndoKind::State) {
        step->Before = currentSettings();
        step->After = CopySettings(step->Before);
    }
    step->ShapeCopy = nullptr;
    if (Grid.ToolKeepsShapeCopy()) {
        if (std::unique_ptr<TUndoObject> copy = Grid.CopyDrawObject()) {
            step->ShapeCopy = copy.get();
            UndoShapes.push_back(std::move(copy));
        }
    }
    UndoSteps.push_back(std::move(step));
    if (int(UndoSteps.size()) > MaxCount)
        dropStep(UndoSteps, 0, true);

    Grid.NotifyMainWindow();
    if (kind != TUndoKind::State)
        Grid.SetModified();
    Grid.Repaint();
    Grid.NotifyRefreshView(1);
    CheckUndoDataSize();
}

int TUndo::nextStepNo() const
{
    for (auto it = UndoSteps.rbegin(); it != UndoSteps.rend(); ++it) {
        if ((*it)->Kind == TUndoKind::Image || (*it)->Kind == TUndoKind::Palette)
            return (*it)->StepNo + 1;
    }
    return 0;
}

QString TUndo::tempFileName(int stepNo, bool before) const
{
    // Without the private temporary folder there is no safe place: no name at all.
    if (Folders().ScanImgPath.isEmpty())
        return QString();
    // The document number and the step number are separated so that no two pairs give
    // the same name.
    return Folders().ScanImgPath + QString::number(m_docNo) + QLatin1Char('_') + QString::number(stepNo)
        + QLatin1Char(before ? '1' : '0') + QStringLiteral(".tmp");
}

bool TUndo::addFileStep(TUndoKind kind, const TStepFileWriter &write, QString *error)
{
    if (recordingSuspended())
        return true;
    clearRedo();
    TUndoStep step(new TUndoData);
    step->Kind = kind;
    step->StepNo = nextStepNo();
    step->AfterFile = tempFileName(step->StepNo, false);
    step->BeforeFile = tempFileName(step->StepNo, true);
    // On failure the step is freed with whatever file was already written.
    if (!write(step->AfterFile, step->BeforeFile, error))
        return false;
    addStep(std::move(step));
    return true;
}

bool TUndo::SaveImageStep(QString *error)
{
    if (recordingSuspended())
        return true;
    // Both pictures are packed once, then kept in memory or written as they are.
    auto after = std::make_shared<TPackedPicture>();
    auto before = std::make_shared<TPackedPicture>();
    if (!PackUndoPicture(Grid.Picture(), *after) || !PackUndoPicture(Grid.RefBitmap(), *before))
        return Fail(error, GetUiMessage(UiKey::String::UndoStepDamaged));
    if (after->PackedBytes() + before->PackedBytes() <= MemoryStepBytes) {
        clearRedo();
        TUndoStep step(new TUndoData);
        step->Kind = TUndoKind::Image;
        step->StepNo = nextStepNo();
        step->AfterPicture = std::move(after);
        step->BeforePicture = std::move(before);
        addStep(std::move(step));
        return true;
    }
    return addFileStep(
        TUndoKind::Image,
        [&](const QString &afterFile, const QString &beforeFile, QString *err) {
            return WritePackedUndoPicture(*after, afterFile, err)
                && WritePackedUndoPicture(*before, beforeFile, err);
        },
        error);
}

bool TUndo::SaveWholePictureStep(QString *error)
{
    if (recordingSuspended())
        return true;
    const QImage &pic = Grid.Picture();
    const QImage &ref = Grid.RefBitmap();
    if (pic.isNull() || pic.format() != QImage::Format_Indexed8 || ref.format() != QImage::Format_Indexed8
        || pic.size() != ref.size())
        return SaveImageStep(error);
    auto plane = std::make_shared<TPackedPlane>(PackPlane(pic, &ref, pic.rect()));
    if (std::any_of(
            plane->Bands.begin(), plane->Bands.end(), [](const QByteArray &b) { return b.isEmpty(); }))
        return SaveImageStep(error);
    clearRedo();
    TUndoStep step(new TUndoData);
    step->Kind = TUndoKind::Image;
    step->StepNo = nextStepNo();
    step->Packed = std::move(plane);
    step->BeforeTable = ref.colorTable();
    step->AfterTable = pic.colorTable();
    addStep(std::move(step));
    return true;
}

void TUndo::SaveTurnStep(TPictureTurn turn, const TRect &box)
{
    if (recordingSuspended())
        return;
    clearRedo();
    TUndoStep step(new TUndoData);
    step->Kind = TUndoKind::Image;
    step->StepNo = nextStepNo();
    step->Turn = turn;
    step->TurnBox = box;
    addStep(std::move(step));
}

bool TUndo::SaveLayerStep(QString *error)
{
    return addFileStep(
        TUndoKind::Palette,
        [this](const QString &after, const QString &before, QString *err) {
            return WriteUndoPalette(Grid.Palette(), after, err)
                && WriteUndoPalette(Grid.DisplayPalette(), before, err);
        },
        error);
}

bool TUndo::SaveTopImageFile(QString *error)
{
    if (recordingSuspended())
        return true;
    TUndoData *top = GetTopStep();
    // A packed or turn step has no file to write; one kept in memory packs the picture anew.
    if (!top || top->Kind != TUndoKind::Image || top->Packed || top->Turn)
        return true;
    if (top->AfterPicture) {
        auto after = std::make_shared<TPackedPicture>();
        if (!PackUndoPicture(Grid.Picture(), *after))
            return Fail(error, GetUiMessage(UiKey::String::UndoStepDamaged));
        top->AfterPicture = std::move(after);
        CheckUndoDataSize();
        return true;
    }
    return WriteUndoPicture(Grid.Picture(), top->AfterFile, error);
}

// Builds a cell step from accepted cells: copies into the repeats, entries, RefBitmap
// brought up to date, then added.
void TUndo::addCellStep(TILineArray &cells, TUndoKind kind)
{
    QImage &picture = Grid.Picture();
    QImage &ref = Grid.RefBitmap();
    PropagateRepeats(picture, Grid.RepeatInfo(), cells);
    TUndoStep step = BuildUndoPixels(picture, ref, cells);
    step->Kind = kind;
    // RefBitmap takes the new index of every listed cell.
    ApplyUndoPixels(picture, ref, *step, false, false);
    addStep(std::move(step));
}

namespace {
struct RulesWithRegion {
    TUndoRules rules;
    QRegion region;
};

void fillRules(const TUndoGridLink &grid, RulesWithRegion &out)
{
    out.rules.Protected = grid.ColorSet();
    const auto style = grid.PointStyle();
    out.rules.SinglePoint = style[0] != 0;
    out.rules.DoublePoint = style[1] != 0;
    out.region = grid.SelectionRegion();
    out.rules.Region = out.region.isEmpty() ? nullptr : &out.region;
}
} // namespace

// A large box is kept packed, unless the repeat view copies the cells into repeats (only
// the list form follows them there). False when the list form is to be used.
bool TUndo::addPackedCellStep(const TRect &rect, bool ignoreRegion, bool ignoreRules, TUndoKind kind)
{
    const TRepeatPic &rep = Grid.RepeatInfo();
    const long long area = (static_cast<long long>(rect.Right) - rect.Left + 1)
        * (static_cast<long long>(rect.Bottom) - rect.Top + 1);
    if ((rep.Flags[0] && rep.Flags[1]) || area < PackedStepMinCells)
        return false;
    RulesWithRegion r;
    fillRules(Grid, r);
    bool changed = false;
    TUndoStep step = BuildPackedStep(
        Grid.Picture(), Grid.RefBitmap(), r.rules, rect, ignoreRegion, ignoreRules, changed);
    if (!step)
        return false;
    step->Kind = kind;
    addStep(std::move(step));
    return true;
}

void TUndo::SaveRegionStep()
{
    if (recordingSuspended())
        return;
    const TLineArray cells = Grid.ChangedCells();
    if (cells.isEmpty())
        return;
    clearRedo();
    RulesWithRegion r;
    fillRules(Grid, r);
    TILineArray accepted;
    CollectListedPixels(Grid.Picture(), Grid.RefBitmap(), r.rules, accepted, cells, false, false);
    addCellStep(accepted, TUndoKind::Cells);
}

void TUndo::SaveClippedRegionStep()
{
    if (recordingSuspended())
        return;
    clearRedo();
    RulesWithRegion r;
    fillRules(Grid, r);
    TILineArray accepted;
    CollectClippedPixels(
        Grid.Picture(), Grid.RefBitmap(), r.rules, accepted, Grid.ChangedCells(), false, false);
    addCellStep(accepted, TUndoKind::Cells);
}

void TUndo::SaveRectStep(const TRect &rect, bool ignoreRules, bool ignoreRegion)
{
    if (recordingSuspended())
        return;
    clearRedo();
    RulesWithRegion r;
    fillRules(Grid, r);
    TILineArray accepted;
    CollectChangedPixels(
        Grid.Picture(), Grid.RefBitmap(), r.rules, accepted, rect, ignoreRegion, ignoreRules);
    addCellStep(accepted, TUndoKind::Cells);
}

void TUndo::SaveAreaStep(const TRect &rect, bool ignoreRules, bool ignoreRegion)
{
    if (recordingSuspended())
        return;
    clearRedo();
    if (!addPackedCellStep(rect, ignoreRegion, ignoreRules, TUndoKind::Cells))
        SaveRectStep(rect, ignoreRules, ignoreRegion);
}

void TUndo::SaveRectStepAs(const TRect &rect, TUndoKind kind)
{
    if (recordingSuspended())
        return;
    if (!UndoSteps.empty())
        dropStep(UndoSteps, UndoSteps.size() - 1, true);
    RulesWithRegion r;
    fillRules(Grid, r);
    TILineArray accepted;
    CollectChangedPixels(Grid.Picture(), Grid.RefBitmap(), r.rules, accepted, rect, false, false);
    addCellStep(accepted, kind);
}

void TUndo::SaveStateStep()
{
    if (recordingSuspended())
        return;
    TUndoStep step(new TUndoData);
    step->Kind = TUndoKind::State;
    step->Before = currentSettings();
    // Until UpdateTopState runs, redoing the step keeps the settings it started from.
    step->After = CopySettings(step->Before);
    addStep(std::move(step));
}

void TUndo::UpdateTopState()
{
    if (recordingSuspended())
        return;
    if (TUndoData *top = GetTopStep())
        top->After = currentSettings();
    Grid.NotifyMainWindow();
    const TRepeatPic &rep = Grid.RepeatInfo();
    Grid.NotifyPatternSize(rep.UnitWidth, rep.UnitHeight);
}

void TUndo::SaveShiftStep(int count, TUndoKind kind)
{
    if (recordingSuspended())
        return;
    clearRedo();
    TUndoStep step(new TUndoData);
    step->Kind = kind == TUndoKind::ShiftHorz ? TUndoKind::ShiftHorz : TUndoKind::ShiftVert;
    step->Count = count;
    addStep(std::move(step));
}

void TUndo::PushObjectStep(TUndoKind kind, std::unique_ptr<TUndoObject> obj)
{
    if (!obj)
        return;
    clearRedo();
    TUndoStep step(new TUndoData);
    step->Kind = kind == TUndoKind::Text ? TUndoKind::Text : TUndoKind::Bitmap;
    (step->Kind == TUndoKind::Text ? UndoTexts : UndoBitmaps).push_back(std::move(obj));
    addStep(std::move(step));
}

TUndoData *TUndo::GetTopStep() const
{
    return UndoSteps.empty() ? nullptr : UndoSteps.back().get();
}

TUndoObject *TUndo::GetTopBitmapObject() const
{
    const TUndoData *top = GetTopStep();
    if (!top || top->Kind != TUndoKind::Bitmap || UndoBitmaps.empty())
        return nullptr;
    return UndoBitmaps.back().get();
}

TUndoObject *TUndo::GetTopTextObject() const
{
    const TUndoData *top = GetTopStep();
    if (!top || top->Kind != TUndoKind::Text || UndoTexts.empty())
        return nullptr;
    return UndoTexts.back().get();
}

void TUndo::Clear()
{
    m_sparePicture = QImage();
    FreeUndoList(UndoSteps);
    FreeUndoList(RedoSteps);
    UndoBitmaps.clear();
    RedoBitmaps.clear();
    UndoTexts.clear();
    RedoTexts.clear();
    UndoShapes.clear();
    RedoShapes.clear();
    Grid.SetUndoMode(UndoModeRecord);
}
