#include "shell/ui/mainwindowweaves.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "shell/dialogdocument.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"
#include "shell/ui/techtileweavewindow.h"
#include "weave/ui/convertpicdialog.h"

#include <QAction>

TMainWindowWeaves::TMainWindowWeaves(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    m_form.SetDocumentActionHandler("ActTechTileWeave", [this](TMDIChild &child) { assignWeaves(child); });
    m_form.SetDocumentActionHandler("ActConvertWeave", [this](TMDIChild &child) { convertWeave(child); });
}

void TMainWindowWeaves::assignWeaves(TMDIChild &child)
{
    // Made anew by every command, on the active document.
    if (auto *old = m_form.findChild<TFrmTechTileWeave *>()) {
        // Asked like any close, so that a weave drawn in its design window is not lost.
        if (!old->close())
            return;
        delete old;
    }
    // The colour list follows the picture as it is now; assigned weaves stay while they
    // still fit the colours.
    QString error;
    if (!child.Document().PrepareDocumentRecord(TPrepareMode::KeepColorWeaves, &error)) {
        m_form.Questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
        return;
    }
    auto *window = new TFrmTechTileWeave(&m_form, child);
    window->ShowMessage = [this](const QString &text) {
        m_form.Questions().ShowMessage(text, GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
    };
    window->MakeLayerDocuments = [this](const QList<QImage> &layers, const QString &baseName) {
        MakeLayerDocuments(layers, baseName);
    };
    window->show();
    m_form.placeToolWindow(window);
    window->raise();
}

QList<TMDIChild *> TMainWindowWeaves::MakeLayerDocuments(const QList<QImage> &layers, const QString &baseName)
{
    QList<TMDIChild *> made;
    for (const QImage &layer : layers) {
        QString error;
        if (!CheckDialogPicture(layer, &error)) {
            m_form.Questions().ShowMessage(
                error, GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
            return made;
        }
    }
    for (int i = 0; i < layers.size(); ++i) {
        TMDIChild *child = m_form.NewChildFromPicture(layers.at(i));
        if (!child)
            break;
        child->SetCaption(baseName + QStringLiteral("_W") + QString::number(i + 1));
        made.append(child);
    }
    if (QAction *tile = m_form.Action("WindowTileHorizontal1"); tile && tile->isEnabled())
        tile->trigger();
    return made;
}

void TMainWindowWeaves::convertWeave(TMDIChild &child)
{
    TFrmConvertPic dialog(&m_form, child.PatternGrid().Picture());
    dialog.ShowMessage = [this](const QString &text) {
        m_form.Questions().ShowMessage(text, GetUiMessage(UiKey::String::ConvertHint), TMessageKind::Error);
    };
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_form.NewChildFromPicture(dialog.ResultPicture());
}

void TMainWindowWeaves::ApplyTexts()
{
    if (auto *window = m_form.findChild<TFrmTechTileWeave *>())
        window->ApplyLanguage();
}
