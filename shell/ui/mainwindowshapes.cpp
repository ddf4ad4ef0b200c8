#include "shell/ui/mainwindowshapes.h"

#include "core/settings/settings.h"
#include "core/settings/uitexts.h"
#include "editor/numericshapes.h"
#include "editor/patterngrid.h"
#include "editor/ui/cursorsizedialog.h"
#include "editor/ui/numericshapewindows.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/pointstyledialog.h"
#include "editor/ui/repairpicwindow.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/openwindow.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QScreen>

#include <type_traits>

TMainWindowShapes::TMainWindowShapes(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    m_form.SetActionHandler("ActSetCursorSize", [this] { setCursorSize(); });
    m_form.SetDocumentActionHandler(
        "ActSetSingleDoublePoint", [this](TMDIChild &child) { setPointStyle(child); });
    m_form.SetDocumentActionHandler(
        "ActDigitalBeeLine", [this](TMDIChild &child) { showShapeWindow(m_line, child); });
    m_form.SetDocumentActionHandler(
        "ActDigitalRectangle", [this](TMDIChild &child) { showShapeWindow(m_rectangle, child); });
    m_form.SetDocumentActionHandler(
        "ActDigitalCircle", [this](TMDIChild &child) { showShapeWindow(m_circle, child); });
    m_form.SetDocumentActionHandler(
        "ActDigitalCopy", [this](TMDIChild &child) { showShapeWindow(m_copy, child); });
    m_form.SetDocumentActionHandler(
        "ActPasteTo", [this](TMDIChild &child) { showShapeWindow(m_paste, child); });
    m_form.SetDocumentActionHandler("ActRepairPic", [this](TMDIChild &child) { repairPicture(child); });
    connect(&m_form, &TMainForm::ActiveChildChanged, this, &TMainWindowShapes::follow);
    connect(&m_form, &TMainForm::LastDocumentClosing, this, [this] { follow(nullptr); });
}

void TMainWindowShapes::centre(QWidget *window) const
{
    window->adjustSize();
    QRect frame(QPoint(), window->size());
    frame.moveCenter(m_form.frameGeometry().center());
    if (const QScreen *place = m_form.screen())
        frame = KeepOnScreen(frame, place->availableGeometry());
    window->move(frame.topLeft());
}

// Every open document takes the cross-hair at once; new ones read it from the settings.
void TMainWindowShapes::setCursorSize()
{
    TFrmSetCursorSize dialog(&m_form);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const TCursorStyleOption crossHair = dialog.Values();
    for (TMDIChild *child : m_form.Children())
        child->PatternGrid().SetCrossHair(crossHair);
}

void TMainWindowShapes::setPointStyle(TMDIChild &child)
{
    TFrmSetPointStyle dialog(child.PatternGrid(), &m_form);
    if (dialog.exec() == QDialog::Accepted)
        showPointStyle(&child);
}

void TMainWindowShapes::showPointStyle(TMDIChild *child)
{
    QAction *action = m_form.Action("ActSetSingleDoublePoint");
    if (!action)
        return;
    const auto style
        = child ? TFrmSetPointStyle::StyleOf(child->PatternGrid().PointStyle()) : TFrmSetPointStyle::AllValid;
    static constexpr std::array<TUiKey, 3> names { UiKey::SetPointStyle::All_Valid,
        UiKey::SetPointStyle::Single_Starting_Point_Valid,
        UiKey::SetPointStyle::Double_Starting_Point_Valid };
    // Pressed while a filter holds back some cells; the tip names the style.
    action->setCheckable(true);
    action->setChecked(style != TFrmSetPointStyle::AllValid);
    const QString caption = GetUiString(UiKey::MainMenu::Set_Single_Or_Double_Point);
    const QString tip = caption + QStringLiteral(": ") + GetUiString(names[std::size_t(style)]);
    action->setToolTip(tip);
    action->setStatusTip(tip);
}

// One window of each kind, made on first use, centred on the main window and then shown
// again, set to the document in front; closing it deletes it.
template <class T> void TMainWindowShapes::showShapeWindow(QPointer<T> &slot, TMDIChild &child)
{
    T *window = OpenWindow(slot);
    const bool made = !window;
    if (made) {
        if constexpr (std::is_same_v<T, TFrmDigitalCopy>)
            window = new T(&CopyNumericArea, &m_form);
        else if constexpr (std::is_same_v<T, TFrmPasteTo>)
            window = new T(&PasteNumericAt, &m_form);
        else
            window = new T(&m_form);
        slot = window;
        window->SetMessageHandler([this](const QString &text) {
            m_form.Questions().ShowMessage(
                text, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
        });
    }
    window->SetGrid(&child.PatternGrid(), &child);
    window->show();
    if (made)
        centre(window);
    window->raise();
    // The numbers are typed at once, and Escape closes the window, without a click on it first.
    window->activateWindow();
    // The first number box that takes input (the buttons come first in the focus chain).
    if (!window->focusWidget())
        for (QWidget *w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
            if (auto *box = qobject_cast<QAbstractSpinBox *>(w);
                box && box->isEnabled() && box->isVisibleTo(window)) {
                // Selected, so that the typed number replaces the one shown.
                box->setFocus(Qt::TabFocusReason);
                box->selectAll();
                break;
            }
}

// The window is made for one document and closes with it: another document gets a new one.
void TMainWindowShapes::repairPicture(TMDIChild &child)
{
    TPatternGrid &grid = child.PatternGrid();
    TFrmRepairPic *window = OpenWindow(m_repair);
    if (window && window->Grid() != &grid) {
        window->close();
        window = nullptr;
    }
    const bool made = !window;
    if (made) {
        window = new TFrmRepairPic(&grid, &child, &m_form);
        m_repair = window;
        connect(window, &TFrmRepairPic::applied, this, [this, window] {
            if (TPatternGrid *worked = window->Grid(); worked && m_form.ChildOfGrid(worked))
                m_form.ReportUndoError(*worked);
        });
    }
    window->show();
    if (made)
        centre(window);
    window->raise();
    window->activateWindow();
}

void TMainWindowShapes::follow(TMDIChild *child)
{
    TPatternGrid *grid = child ? &child->PatternGrid() : nullptr;
    if (TFrmDigitalBeeLine *window = OpenWindow(m_line))
        window->SetGrid(grid, child);
    if (TFrmDigitalRectangle *window = OpenWindow(m_rectangle))
        window->SetGrid(grid, child);
    if (TFrmDigitalCircle *window = OpenWindow(m_circle))
        window->SetGrid(grid, child);
    if (TFrmDigitalCopy *window = OpenWindow(m_copy))
        window->SetGrid(grid, child);
    if (TFrmPasteTo *window = OpenWindow(m_paste))
        window->SetGrid(grid, child);
    showPointStyle(child);
}
