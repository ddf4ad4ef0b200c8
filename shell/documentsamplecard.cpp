#include "shell/documentsamplecard.h"

#include "card/samplecardcheck.h"

bool AssignSampleCard(TDocument &document, const TYangkaImage &card, const QString &fileName, QString *error)
{
    if (!CheckCardForDesign(
            document.Grid().ColCount(), document.Record().WarpRepeat, card.JacquardCount(), error))
        return false;
    document.SampleCard().Assign(card);
    document.Record().SampleCardFile = fileName;
    return true;
}
