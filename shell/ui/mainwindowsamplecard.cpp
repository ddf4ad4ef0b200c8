#include "shell/ui/mainwindowsamplecard.h"

#include "card/samplecardcheck.h"
#include "card/ui/needletabledialog.h"
#include "card/ui/ruleinputdialog.h"
#include "card/ui/samplecardwindow.h"
#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/documentsamplecard.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

#include <QAction>
#include <QMdiArea>
#include <QPointer>

namespace {

// Watches the colour picks the main window is told of: the document in front keeps the
// colour picked last (a pick of the pattern colour, not of the background), and its open
// shuttle-by-colour window shows it.
class TColorPickWatcher : public QObject {
public:
    TColorPickWatcher(TMainForm &form)
        : QObject(&form)
        , m_form(form)
    {
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &m_form || event->type() != QEvent::Type(WM_COLORPICKED))
            return false;
        const TColorPickInfo *info = static_cast<TMessageEvent *>(event)->ColorPickInfo();
        TMDIChild *child = m_form.ActiveChild();
        // Kind 4 is a right click on the palette bar: a background colour.
        if (!info || !child || info->Kind == 4 || info->Index < 0 || info->Index > 255)
            return false;
        TDocument &document = child->Document();
        document.SetLastPicked(info->Index, document.LastPickedValue());
        if (TFrmSetPickWithColor *window = child->PickWithColorWindow(); window && window->isVisible())
            child->ShowPickWithColorWindow();
        return false; // the main window handles the pick as ever
    }

private:
    TMainForm &m_form;
};

} // namespace

bool TMainWindowSampleCard::DesignSampleCard(TMDIChild &child, bool showEditor)
{
    TDocument &document = child.Document();
    TFrmYangKa editor(
        document.SampleCard(), document.Grid().ColCount(), document.Record().WarpRepeat, &m_form);
    // As if OK were pressed: a card that fits is the document's from now on.
    QString error;
    const bool assigned
        = editor.Confirm(&error) && AssignSampleCard(document, editor.Card(), editor.FileName(), &error);
    editor.SetFileName(QStringLiteral("Untitled*"));
    if (!showEditor) {
        if (!assigned)
            m_form.Questions().ShowMessage(error, CardForDesignCaption(), TMessageKind::Error);
        return assigned;
    }
    // Shown, the editor itself refuses a card that does not fit, on its OK.
    if (editor.exec() != QDialog::Accepted)
        return assigned;
    if (!AssignSampleCard(document, editor.Card(), editor.FileName(), &error)) {
        m_form.Questions().ShowMessage(error, CardForDesignCaption(), TMessageKind::Error);
        return false;
    }
    return true;
}

TMainWindowSampleCard::TMainWindowSampleCard(TMainForm &form)
    : m_form(form)
{
    form.SetDocumentActionHandler(
        "ActDesignCard", [this](TMDIChild &child) { DesignSampleCard(child, true); });
    setupRowTableModes();
    auto table = [this](TMDIChild &child, int mode) {
        if (!prepare(child))
            return;
        TFrmPickWeftDensTable dialog(&m_form, mode, CardTables());
        // The program's tables take the dialog's only on OK.
        if (dialog.exec() == QDialog::Accepted)
            CardTables() = dialog.Tables();
    };
    form.SetDocumentActionHandler("ActSetPicTable", [table](TMDIChild &child) { table(child, 0); });
    form.SetDocumentActionHandler("ActSetWeftDensityTable", [table](TMDIChild &child) { table(child, 1); });
    form.SetDocumentActionHandler("ActRegulatorInput", [this](TMDIChild &child) { showRuleInput(child); });
    form.SetDocumentActionHandler("ActSelColorPick", [this](TMDIChild &child) {
        if (prepare(child))
            child.ShowPickWithColorWindow();
    });
    form.installEventFilter(new TColorPickWatcher(form));
}

// Every row-table command first makes the record ready; the tables the designer filled are
// kept when they still fit.
bool TMainWindowSampleCard::prepare(TMDIChild &child)
{
    QString error;
    if (child.Document().PrepareDocumentRecord(TPrepareMode::KeepColorWeaves, &error))
        return true;
    m_form.Questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
    return false;
}

// The two check marks tell which row table the document's row-table windows work on;
// setting one clears the other. They follow the document in front.
void TMainWindowSampleCard::setupRowTableModes()
{
    QAction *pick = m_form.Action("ActSetPick");
    QAction *density = m_form.Action("ActSetWeftDensity");
    pick->setCheckable(true);
    density->setCheckable(true);
    auto showMode = [pick, density](TRowTableMode mode) {
        pick->setChecked(mode == TRowTableMode::Shuttle);
        density->setChecked(mode == TRowTableMode::WeftDensity);
    };
    auto setMode = [this, showMode](TMDIChild &child, QAction *action, TRowTableMode mode) {
        if (!prepare(child)) {
            showMode(child.Document().RowTableMode());
            return;
        }
        child.Document().SetRowTableMode(action->isChecked() ? mode : TRowTableMode::None);
        showMode(child.Document().RowTableMode());
        // An open shuttle-by-colour window takes the new mode (its caption and target).
        if (TFrmSetPickWithColor *window = child.PickWithColorWindow(); window && window->isVisible())
            child.ShowPickWithColorWindow();
    };
    m_form.SetDocumentActionHandler(
        "ActSetPick", [setMode, pick](TMDIChild &child) { setMode(child, pick, TRowTableMode::Shuttle); });
    m_form.SetDocumentActionHandler("ActSetWeftDensity",
        [setMode, density](TMDIChild &child) { setMode(child, density, TRowTableMode::WeftDensity); });
    connect(m_form.mdiArea(), &QMdiArea::subWindowActivated, this, [showMode](QMdiSubWindow *window) {
        auto *child = qobject_cast<TMDIChild *>(window);
        showMode(child ? child->Document().RowTableMode() : TRowTableMode::None);
    });
}

void TMainWindowSampleCard::showRuleInput(TMDIChild &child)
{
    if (!prepare(child))
        return;
    if (!m_ruleInput) {
        m_ruleInput = new TFrmInput(&m_form);
        m_ruleInput->setAttribute(Qt::WA_DeleteOnClose);
    }
    TRuleInputTarget target;
    target.Mesh = &child.Document().Record();
    target.Owner = &child;
    QPointer<TMDIChild> owner(&child);
    target.Changed = [owner] {
        if (owner)
            owner->PatternGrid().SetModified();
    };
    m_ruleInput->SetTarget(target);
    m_ruleInput->show();
    m_ruleInput->raise();
}
