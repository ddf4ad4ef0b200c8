#pragma once
// TMainWindowCard: the main window's card commands: generating a card (ActBuildPick), making
// a card file for a simple one-row harness (ActSaveYarn) and the card viewer
// (ActBrowseWenban). It keeps the last card built until the next build succeeds.

#include "core/base/document.h"

#include <QObject>

class QImage;
class TYangkaImage;
class TMDIChild;
class TMainForm;

class TMainWindowCard : public QObject {
    Q_OBJECT
public:
    // Gives the card actions their commands.
    explicit TMainWindowCard(TMainForm &form);

    const TMultiByteArray &CardData() const { return m_cardData; }

private:
    void buildPick(TMDIChild &child);
    void saveYarn(TMDIChild &child);
    bool saveCardAs(const TYangkaImage &sampleCard, const QImage &picture);
    void showCardViewer(const TYangkaImage *sampleCard);

    TMainForm &m_form;
    TMultiByteArray m_cardData; // kept until the next build succeeds
};
