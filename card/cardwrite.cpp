#include "card/cardwrite.h"

#include "card/cardformats.h"
#include "card/fmt_ovwb.h"
#include "core/base/error.h"
#include "core/picture/bmpfile.h"
#include "core/settings/uitexts.h"

#include <QFileInfo>

QString CardMakingSaveFilter()
{
    return QStringLiteral("EP Files (*.EP)|*.EP|JC5 Files(*.JC5)|*.JC5|UPT Files(*.UPT)|*.UPT|"
                          "VBJ128 Files(*.DAT)|*.DAT|CEJ160 Files(*.DAT)|*.DAT|PEJ160 Files(*.DAT)|*.DAT");
}

QStringList CardDialogNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts[i];
        const QString &patterns = parts[i + 1];
        // Qt takes the patterns from the brackets at the end of a name filter.
        if (description.trimmed().endsWith(QLatin1Char(')')))
            out << description;
        else
            out << QStringLiteral("%1 (%2)").arg(
                description, QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')));
    }
    return out;
}

int CardFilterIndex(const QStringList &nameFilters, const QString &selectedNameFilter)
{
    return int(nameFilters.indexOf(selectedNameFilter)) + 1;
}

namespace {

// A card picture of 1 bit a pixel (colour 0 black, 1 white) as an 8-bit picture with the
// same two colours, which is what the bitmap writer stores.
QImage EightBitPicture(const QImage &picture)
{
    if (picture.format() == QImage::Format_Indexed8)
        return picture;
    QImage out(picture.size(), QImage::Format_Indexed8);
    if (out.isNull())
        return out;
    QList<QRgb> table(256, qRgb(0, 0, 0));
    table[1] = qRgb(255, 255, 255);
    out.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y) {
        uchar *line = out.scanLine(y);
        for (int x = 0; x < picture.width(); ++x)
            line[x] = qGray(picture.pixel(x, y)) >= 128 ? 1 : 0;
    }
    return out;
}

} // namespace

bool WriteCardFile(
    const TWenBanIO &io, const QImage &picture, const QString &fileName, int filterIndex, QString *error)
{
    const QString ext = QLatin1Char('.') + QFileInfo(fileName).suffix().toUpper();
    if (ext == QLatin1String(".BMP")) {
        if (picture.isNull())
            return Fail(error, GetUiMessage(UiKey::String::CardNoPictureToSave));
        return SaveBmp8File(EightBitPicture(picture), fileName, error);
    }
    if ((ext == QLatin1String(".DAT") || ext == QLatin1String(".P32"))
        && DatCardCapacity(filterIndex - 4) == 0)
        return Fail(error, GetUiMessage(UiKey::String::CardFilterNoController).arg(ext));
    if (IsControllerCardWriteExtension(ext))
        return WriteControllerCard(io, fileName, filterIndex, error);
    return WriteOVWBCard(io, fileName, error);
}
