#include "card/cardsplit.h"

#include "card/cardbytes.h"
#include "card/cardfile.h"
#include "card/cardformats.h"
#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include <QFileInfo>

bool SplitJC5File(const QString &fileName, qint64 pieceSize, int *partCount, QString *error)
{
    if (partCount)
        *partCount = 0;
    const QFileInfo info(fileName);
    if (!info.isFile())
        return Fail(error, GetUiMessage(UiKey::String::FileMissing).arg(fileName));
    if (info.size() <= pieceSize)
        return true;
    TWenBanIO io;
    if (!io.LoadFromFile(fileName, error))
        return false;
    // Every part's name has the same length; the header carries it in GBK.
    QByteArray name;
    if (!CardBytes::GbkNameField(CardBytes::FileNameOf(JC5PartFileName(fileName, 1)), -1, name, error))
        return false;
    const int perPart = JC5CardsPerPart(pieceSize, int(name.size()), io.RowBytes());
    if (perPart < 1)
        return Fail(error, GetUiMessage(UiKey::String::JC5PartNeedsCard));
    return WriteJC5PartFiles(io, fileName, perPart, partCount, error);
}
