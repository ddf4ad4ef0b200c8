#include "shell/cardpictureformat.h"
#include "card/cardmessages.h"
#include "core/base/error.h"
#include "core/settings/uitexts.h"

#include "card/cardfile.h"

#include <QFileInfo>

bool ReadWenBanIOPicture(
    const QString &fileName, const QByteArray &bytes, TLoadedPicture &picture, QString *error)
{
    TWenBanIO io;
    io.FileName = fileName;
    io.Extension = QLatin1Char('.') + QFileInfo(fileName).suffix().toUpper();
    if (!io.LoadFromBytes(bytes, error))
        return false;
    if (io.Bitmap.isNull()) { // a card file that holds no cards
        return Fail(error, GetUiMessage(CardMsg::NoValidData));
    }
    picture.Image = io.Bitmap;
    switch (io.Bitmap.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        picture.Bits = 1;
        break;
    case QImage::Format_Indexed8:
        picture.Bits = 8;
        break;
    default:
        picture.Bits = io.Bitmap.depth();
        break;
    }
    return true;
}
