#include "shell/ui/mainwindowtechnique.h"

#include "core/settings/uitexts.h"
#include "editor/picturemerge.h"
#include "editor/ui/markpointwindow.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/patternmergedialog.h"

TMainWindowTechnique::TMainWindowTechnique(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    m_form.SetDocumentActionHandler("ActMarkPoint", [this](TMDIChild &) { showMarkPointWindow(); });
    m_form.SetDocumentActionHandler("ActPatternMerge", [this](TMDIChild &) { mergeLayers(); });

    // The point window works on the document in front; it holds the document weakly, so a
    // closed document is never worked on, and it goes out of sight with the last one.
    connect(&m_form, &TMainForm::ActiveChildChanged, this, [this](TMDIChild *child) {
        if (auto *window = m_form.findChild<TFrmMarkPoint *>())
            window->SetGrid(child ? &child->PatternGrid() : nullptr, child);
    });
    connect(&m_form, &TMainForm::LastDocumentClosing, this, [this] {
        if (auto *window = m_form.findChild<TFrmMarkPoint *>()) {
            window->SetGrid(nullptr, nullptr);
            window->hide();
        }
    });
}

// One window for the program: made on first use, hidden when closed, shown again later.
void TMainWindowTechnique::showMarkPointWindow()
{
    TMDIChild *child = m_form.ActiveChild();
    auto *window = m_form.findChild<TFrmMarkPoint *>();
    const bool made = !window;
    if (made) {
        window = new TFrmMarkPoint(&m_form);
        window->SetMessageHandler([this](const QString &text) {
            m_form.Questions().ShowMessage(
                text, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Warning);
        });
    }
    window->SetGrid(child ? &child->PatternGrid() : nullptr, child);
    window->show();
    if (made)
        window->move(m_form.frameGeometry().center() - window->rect().center());
    window->raise();
    window->activateWindow();
}

// The chooser, then the chosen layers woven side by side into a new document.
void TMainWindowTechnique::mergeLayers()
{
    TFrmNavigatorPatternMerge dialog(m_form.Children(), &m_form);
    dialog.SetMessageHandler([this](const QString &text, const QString &caption) {
        m_form.Questions().ShowMessage(text, caption, TMessageKind::Error);
    });
    if (dialog.exec() != QDialog::Accepted)
        return;
    QImage merged;
    QString error;
    if (!MergeLayerPictures(dialog.SelectedPictures(), merged, &error)) {
        m_form.Questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
        return;
    }
    m_form.NewChildFromPicture(merged);
}
