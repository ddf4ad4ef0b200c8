#include "core/decode/pictureload.h"

#include "core/base/filewrite.h"
#include "core/picture/lowbitpicture.h"
#include "core/decode/pictureconvert.h"
#include "core/base/progress.h"
#include "core/settings/sharedstate.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool LoadPictureFromFile(const QString &fileName, TLoadedPicture &picture, QString *error)
{
    const QString extension = QFileInfo(fileName).suffix();
    const TPictureClass *cls = nullptr;
    if (extension.compare(QLatin1String("BMP"), Qt::CaseInsensitive) == 0)
        cls = &BitmapPictureClass();
    else if (Hooks().PictureClassLookup && !extension.isEmpty())
        cls = Hooks().PictureClassLookup(extension);
    if (!cls)
        return fail(error, QCoreApplication::translate("Picture", "%1 cannot be opened: the file type is not supported.")
                               .arg(fileName));
    QByteArray bytes;
    if (!ReadWholeFile(fileName, MaxPictureFileSize, bytes, error))
        return false;
    ShowProgressGauge();
    QString why;
    TLoadedPicture loaded;
    const bool ok = DecodePicture(*cls, fileName, bytes, loaded, &why);
    ReportProgress(100);
    if (!ok)
        return fail(error, QCoreApplication::translate("Picture", "%1 cannot be opened: %2").arg(fileName, why));
    picture = loaded;
    return true;
}

bool LoadPictureAs8Bit(const QString &fileName, QImage &bmp, QString *error)
{
    TLoadedPicture loaded;
    if (!LoadPictureFromFile(fileName, loaded, error))
        return false;
    QImage result;
    TLowBitPicture packed;
    if (loaded.Bits > 8) {
        ConvertPictureTo8BitWithBlackAndWhite(loaded.Image, result);
    } else if (loaded.Bits < 8 && loaded.LowBit.isValid()) {
        ConvertLowBitTo8Bit(loaded.LowBit, result);
    } else if (loaded.Bits < 8 && PackLowBitPicture(loaded.Image, loaded.Bits, packed)) {
        ConvertLowBitTo8Bit(packed, result);
    } else {
        // 8-bit, or a low-bit picture whose indexes do not fit its declared depth.
        // Taken over rather than shared, so that EnsureBlackAndWhite does not copy the cells.
        if (loaded.Image.format() == QImage::Format_Indexed8)
            result = std::move(loaded.Image);
        if (result.isNull()) // a 1-bit picture that could not be packed: unpack through Qt
            result = loaded.Image.convertToFormat(QImage::Format_Indexed8);
        EnsureBlackAndWhite(result);
    }
    if (result.isNull() || result.format() != QImage::Format_Indexed8)
        return fail(error, QCoreApplication::translate("Picture", "%1 cannot be opened: not enough memory.").arg(fileName));
    bmp = result;
    return true;
}
