// The main window's sample-card and row-table commands: the sample-card editor, the pick
// and weft-density tables, the rule input and the shuttle-by-colour window, and which row
// table a document's row-table windows work on.
#include "shell/ui/mainwindow.h"

#include "card/samplecardcheck.h"
#include "card/ui/needletabledialog.h"
#include "card/ui/ruleinputdialog.h"
#include "card/ui/samplecardwindow.h"
#include "core/base/messages.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/documentsamplecard.h"
#include "shell/ui/documentwindow.h"

#include <QAction>
#include <QMdiArea>
#include <QPointer>

namespace {

// The rule input: one window for the program, made on first use, given the active
// document each time its command runs, freed when it closes.
QPointer<TFrmInput> g_ruleInput;

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

bool TMainForm::DesignSampleCard(TMDIChild &child, bool showEditor)
{
    TDocument &document = child.Document();
    TFrmYangKa editor(document.SampleCard(), document.Grid().ColCount(), document.Record().WarpRepeat, this);
    // As if OK were pressed: a card that fits is the document's from now on.
    QString error;
    const bool assigned
        = editor.Confirm(&error) && AssignSampleCard(document, editor.Card(), editor.FileName(), &error);
    editor.SetFileName(QStringLiteral("Untitled*"));
    if (!showEditor) {
        if (!assigned)
            m_questions->ShowMessage(error, CardForDesignCaption(), TMessageKind::Error);
        return assigned;
    }
    // Shown, the editor itself refuses a card that does not fit, on its OK.
    if (editor.exec() != QDialog::Accepted)
        return assigned;
    if (!AssignSampleCard(document, editor.Card(), editor.FileName(), &error)) {
        m_questions->ShowMessage(error, CardForDesignCaption(), TMessageKind::Error);
        return false;
    }
    return true;
}

void TMainForm::setupSampleCardActions()
{
    SetDocumentActionHandler("ActDesignCard", [this](TMDIChild &child) { DesignSampleCard(child, true); });

    // Every row-table command first makes the record ready; the tables the designer
    // filled are kept when they still fit.
    auto prepare = [this](TMDIChild &child) {
        QString error;
        if (child.Document().PrepareDocumentRecord(TPrepareMode::KeepColorWeaves, &error))
            return true;
        m_questions->ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
        return false;
    };

    // The two check marks tell which row table the document's row-table windows work on;
    // setting one clears the other. They follow the document in front.
    QAction *pick = Action("ActSetPick");
    QAction *density = Action("ActSetWeftDensity");
    pick->setCheckable(true);
    density->setCheckable(true);
    auto showMode = [pick, density](TRowTableMode mode) {
        pick->setChecked(mode == TRowTableMode::Shuttle);
        density->setChecked(mode == TRowTableMode::WeftDensity);
    };
    auto setMode = [prepare, showMode](TMDIChild &child, QAction *action, TRowTableMode mode) {
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
    SetDocumentActionHandler(
        "ActSetPick", [setMode, pick](TMDIChild &child) { setMode(child, pick, TRowTableMode::Shuttle); });
    SetDocumentActionHandler("ActSetWeftDensity",
        [setMode, density](TMDIChild &child) { setMode(child, density, TRowTableMode::WeftDensity); });
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [showMode](QMdiSubWindow *window) {
        auto *child = qobject_cast<TMDIChild *>(window);
        showMode(child ? child->Document().RowTableMode() : TRowTableMode::None);
    });

    auto table = [this, prepare](TMDIChild &child, int mode) {
        if (!prepare(child))
            return;
        TFrmPickWeftDensTable dialog(this, mode, CardTables());
        // The program's tables take the dialog's only on OK.
        if (dialog.exec() == QDialog::Accepted)
            CardTables() = dialog.Tables();
    };
    SetDocumentActionHandler("ActSetPicTable", [table](TMDIChild &child) { table(child, 0); });
    SetDocumentActionHandler("ActSetWeftDensityTable", [table](TMDIChild &child) { table(child, 1); });

    SetDocumentActionHandler("ActRegulatorInput", [this, prepare](TMDIChild &child) {
        if (!prepare(child))
            return;
        if (!g_ruleInput) {
            g_ruleInput = new TFrmInput(this);
            g_ruleInput->setAttribute(Qt::WA_DeleteOnClose);
        }
        TRuleInputTarget target;
        target.Mesh = &child.Document().Record();
        target.Owner = &child;
        QPointer<TMDIChild> owner(&child);
        target.Changed = [owner] {
            if (owner)
                owner->PatternGrid().SetModified();
        };
        g_ruleInput->SetTarget(target);
        g_ruleInput->show();
        g_ruleInput->raise();
    });

    SetDocumentActionHandler("ActSelColorPick", [prepare](TMDIChild &child) {
        if (prepare(child))
            child.ShowPickWithColorWindow();
    });
    installEventFilter(new TColorPickWatcher(*this));
}
