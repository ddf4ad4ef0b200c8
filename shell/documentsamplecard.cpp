#include "shell/documentsamplecard.h"

#include "card/samplecardcheck.h"

bool AssignSampleCard(TDocument &document, const TYangkaImage &card, const QString &fileName, QString *error)
{
    if (!CheckCardForDesign(
            document.Grid().ColCount(), document.Record().WarpRepeat, card.JacquardCount(), error))
        return false;
    document.SampleCard().Assign(card);
    // The card and the record name one file: a later card command starts the editor from
    // the card's name, which must not lead the record back to a file the card left.
    document.SampleCard().CardFileName = fileName;
    document.Record().SampleCardFile = fileName;
    return true;
}
