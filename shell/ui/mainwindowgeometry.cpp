#include "shell/ui/mainwindowgeometry.h"

#include "core/base/error.h"
#include "core/base/toolid.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/picturerotation.h"
#include "editor/ui/editgrosswindow.h"
#include "editor/ui/mergepicdialog.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/picsizedialog.h"
#include "editor/ui/rotateangledialog.h"
#include "shell/repeatlayout.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/setpatterndialog.h"

#include <QStatusBar>

TMainWindowGeometry::TMainWindowGeometry(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    setObjectName(QStringLiteral("MainWindowGeometry"));
    form.SetDocumentActionHandler("ActSetPicSize", [this](TMDIChild &child) { setPicSize(child); });
    form.SetDocumentActionHandler("ActSetGrid", [this](TMDIChild &child) { setGrid(child); });
    form.SetDocumentActionHandler("ActRotateRandom", [this](TMDIChild &child) { rotate(child); });
    form.SetDocumentActionHandler("ActEditGross", [this](TMDIChild &child) { showEditGross(child); });
    form.SetDocumentActionHandler("ActMergePic", [this](TMDIChild &child) { mergePicture(child); });

    connect(&form, &TMainForm::GrossPosClicked, this, [this](int col, int row) {
        if (TFrmEditGross *window = editGrossWindow())
            window->CellClicked(col, row);
    });
    connect(&form, &TMainForm::ActiveChildChanged, this, [this](TMDIChild *child) {
        if (TFrmEditGross *window = editGrossWindow(); window && child)
            window->SetGrid(&child->PatternGrid(), child);
    });
    connect(&form, &TMainForm::LastDocumentClosing, this, [this] {
        if (TFrmEditGross *window = editGrossWindow())
            window->close();
    });
}

void TMainWindowGeometry::ApplyTexts()
{
    if (TFrmEditGross *window = editGrossWindow())
        window->ApplyLanguage();
}

TFrmEditGross *TMainWindowGeometry::editGrossWindow() const
{
    return m_form.findChild<TFrmEditGross *>(QString(), Qt::FindDirectChildrenOnly);
}

void TMainWindowGeometry::followChange(TMDIChild &child, int oldHeight)
{
    const int height = child.PatternGrid().RowCount();
    if (height != oldHeight) {
        if (const int dropped = child.Document().FollowPatternHeight(); dropped > 0)
            m_form.statusBar()->showMessage(
                GetUiMessage(UiKey::String::RowTablesRowsDropped).arg(oldHeight).arg(height).arg(dropped));
    }
    child.GridView()->LayoutChanged();
    child.UpdateRulers();
}

void TMainWindowGeometry::setPicSize(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    const int oldHeight = grid.RowCount();
    TFrmSetPicSize dialog(grid.ColCount(), grid.RowCount(), &m_form);
    dialog.SetApply([&grid](int width, int height, bool stretch, QString *error) {
        if (grid.ResizePicture(width, height, stretch ? 1 : 0))
            return true;
        const QString why = grid.LastUndoError();
        return Fail(error, why.isEmpty() ? GetUiMessage(UiKey::String::InputDateError) : why);
    });
    if (dialog.exec() == QDialog::Accepted)
        followChange(child, oldHeight);
}

void TMainWindowGeometry::setGrid(TMDIChild &child)
{
    const int oldHeight = child.PatternGrid().RowCount();
    TFrmSetPattern dialog(child.Document(), &m_form);
    if (dialog.exec() != QDialog::Accepted)
        return;
    child.SetCaption(child.Document().Caption());
    followChange(child, oldHeight);
}

void TMainWindowGeometry::rotate(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    const int oldHeight = grid.RowCount();
    TFrmSetRotateAngle dialog(&m_form);
    dialog.SetApply([&grid](double a, QString *error) { return RotateByDialogAngle(grid, a, error); });
    if (dialog.exec() == QDialog::Accepted)
        followChange(child, oldHeight);
}

void TMainWindowGeometry::showEditGross(TMDIChild &child)
{
    TFrmEditGross *window = editGrossWindow();
    const bool made = !window;
    if (made) {
        window = new TFrmEditGross(&child.PatternGrid(), &child, &m_form);
        connect(window, &TFrmEditGross::linesChanged, this, [this](int oldHeight) {
            if (TMDIChild *active = m_form.ActiveChild())
                followChange(*active, oldHeight);
        });
    } else {
        window->SetGrid(&child.PatternGrid(), &child);
    }
    m_form.ActFreeLineExecute(int(TToolId::Move));
    window->show();
    if (made)
        m_form.placeToolWindow(window);
    window->raise();
}

void TMainWindowGeometry::mergePicture(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    // A piece floating over the pattern is part of the picture laid out.
    grid.DropFloatingObjects();
    const int oldHeight = grid.RowCount();
    TFrmMergePic dialog(grid.Picture(), grid.RepeatInfo(), &m_form);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QImage result = dialog.TakeResult();
    if (dialog.CreateNewPicture()) {
        const std::array<std::int32_t, 4> pieces
            = RepeatLayoutPieces(grid.RepeatDisplayValues(), result.width());
        if (TMDIChild *made = m_form.NewChildFromPicture(result)) {
            made->PatternGrid().SetRepeatDisplayValues(pieces);
            made->PatternGrid().SetModified();
        }
        return;
    }
    QString error;
    if (!grid.ApplyRepeatLayout(result, dialog.ResultLayout(), &error))
        m_form.Questions().ShowMessage(
            error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
    followChange(child, oldHeight);
}
