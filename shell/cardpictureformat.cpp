#include "shell/cardpictureformat.h"
#include "card/cardmessages.h"

#include "card/cardfile.h"

#include <QFileInfo>

bool ReadWenBanIOPicture(
    const QString &fileName, const QByteArray &bytes, TLoadedPicture &picture, QString *error)
{
    TWenBanIO io;
    io.FileName = fileName;
    io.Extension = QLatin1Char('.') + QFileInfo(fileName).suffix().toUpper();
    if (!io.LoadFromBytes(bytes)) {
        if (error)
            *error = io.ErrorText;
        return false;
    }
    if (io.Bitmap.isNull()) { // a card file that holds no cards
        if (error)
            *error = QString::fromUtf8(CardMsg::NoValidData);
        return false;
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
