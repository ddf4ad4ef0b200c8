#include "shell/ui/mainwindowcard.h"

#include "card/builtcard.h"
#include "card/cardwrite.h"
#include "card/ui/cardgeneratedialog.h"
#include "card/ui/cardmakingdialog.h"
#include "card/ui/cardsavedialog.h"
#include "card/ui/cardviewerwindow.h"
#include "core/settings/uitexts.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindow.h"

namespace {
// Shows a message of the card dialogs through the main window's questions.
void ShowCardMessage(
    TDocumentQuestions &questions, const QString &text, const QString &caption, bool information)
{
    questions.ShowMessage(text, caption, information ? TMessageKind::Information : TMessageKind::Error);
}
} // namespace

TMainWindowCard::TMainWindowCard(TMainForm &form)
    : m_form(form)
{
    form.SetDocumentActionHandler("ActBuildPick", [this](TMDIChild &child) { buildPick(child); });
    form.SetDocumentActionHandler("ActSaveYarn", [this](TMDIChild &child) { saveYarn(child); });
    form.SetActionHandler("ActBrowseWenban", [this] { showCardViewer(nullptr); });
}

void TMainWindowCard::buildPick(TMDIChild &child)
{
    TDocument &doc = child.Document();
    QString error;
    if (!doc.PrepareDocumentRecord(TPrepareMode::KeepColorWeaves, &error)) {
        m_form.Questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
        return;
    }
    // The sample card is confirmed as the editor's OK would: a card that does not fit
    // the pattern has been refused with its reason, and no card is built on it.
    if (!m_form.DesignSampleCard(child, false))
        return;
    TfrmPutOut dialog(&m_form, doc.Grid().Picture());
    dialog.ShowMessage = [this](const QString &text, const QString &caption, bool information) {
        ShowCardMessage(m_form.Questions(), text, caption, information);
    };
    // The modal dialog keeps the document open while the cards are built; the build
    // reads the document only, and its card replaces CardData only when it succeeded.
    dialog.Build = [&doc](int scanStart, TMultiByteArray &card, TCardBuildResult &result,
                       const TCardProgress &progress) {
        TMesh &record = doc.Record();
        if (!SetDefaultColourWeaves(record))
            return false;
        return BuildCardData(record, doc.SampleCard(), scanStart, card, result, progress);
    };
    if (dialog.exec() != TfrmPutOut::ResultGenerated)
        return;
    m_cardData = dialog.Card();
    if (dialog.ShowElectronicCard() && !m_cardData.isEmpty())
        showCardViewer(&doc.SampleCard());
}

void TMainWindowCard::saveYarn(TMDIChild &child)
{
    TDocument &doc = child.Document();
    QString error;
    if (!doc.PrepareDocumentRecord(TPrepareMode::ResetColorWeaves, &error)) {
        m_form.Questions().ShowMessage(error, GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
        return;
    }
    TFrmSetYangKa dialog(&m_form, doc.Grid().Picture().width());
    dialog.ShowMessage = [this](const QString &text, const QString &caption, bool information) {
        ShowCardMessage(m_form.Questions(), text, caption, information);
    };
    // The one-row harness serves this card only: the document keeps the sample card laid
    // out for it, and the card file is the same either way.
    dialog.Build = [&doc](const TYangkaImage &sampleCard, int scanStart, TMultiByteArray &card,
                       TCardBuildResult &result, const TCardProgress &progress) {
        TMesh &record = doc.Record();
        if (!SetDefaultColourWeaves(record))
            return false;
        return BuildCardData(record, sampleCard, scanStart, card, result, progress);
    };
    if (dialog.exec() != TFrmSetYangKa::ResultOK)
        return;
    m_cardData = dialog.Card();
    saveCardAs(dialog.SampleCard(), doc.Grid().Picture());
}

bool TMainWindowCard::saveCardAs(const TYangkaImage &sampleCard, const QImage &picture)
{
    if (m_cardData.isEmpty())
        return false;
    QString fileName;
    int filterIndex = 0;
    if (!ChooseCardSaveFile(&m_form, CardMakingSaveFilter(), QString(), fileName, filterIndex))
        return false;
    TWenBanIO io;
    SetBuiltCard(io, m_cardData, sampleCard);
    QString error;
    if (!WriteCardFile(io, picture, fileName, filterIndex, &error)) {
        m_form.Questions().ShowMessage(
            GetUiMessage(UiKey::String::StringWriteFileError) + QLatin1Char('\n') + error,
            GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
        return false;
    }
    return true;
}

void TMainWindowCard::showCardViewer(const TYangkaImage *sampleCard)
{
    TFrmWenBan viewer(&m_form);
    viewer.AskSave = [this](const QString &text, const QString &caption) {
        switch (m_form.Questions().AskSaveChanges(text, caption)) {
        case TSaveAnswer::Yes:
            return TCardSaveAnswer::Yes;
        case TSaveAnswer::No:
            return TCardSaveAnswer::No;
        case TSaveAnswer::Cancel:
            break;
        }
        return TCardSaveAnswer::Cancel;
    };
    viewer.ShowMessage = [this](const QString &text, const QString &caption, int kind) {
        m_form.Questions().ShowMessage(text, caption,
            kind == 2       ? TMessageKind::Error
                : kind == 1 ? TMessageKind::Warning
                            : TMessageKind::Information);
    };
    if (sampleCard)
        viewer.LoadCard(m_cardData, true, *sampleCard);
    viewer.exec();
}
