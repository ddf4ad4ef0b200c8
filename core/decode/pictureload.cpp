#include "core/decode/pictureload.h"

#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/base/progress.h"
#include "core/decode/pictureconvert.h"
#include "core/picture/lowbitpicture.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QFile>
#include <QFileInfo>

namespace {

// LoadPictureFromFile; with trueColourTo8Bit, true-colour pictures come back converted
// as LoadPictureAs8Bit converts them.
bool loadPicture(const QString &fileName, TLoadedPicture &picture, QString *error, bool trueColourTo8Bit)
{
    // A blank after the extension (a name copied from Windows) does not change the type.
    const QString extension = QFileInfo(fileName).suffix().trimmed();
    const TPictureClass *cls = nullptr;
    if (extension.compare(QLatin1String("BMP"), Qt::CaseInsensitive) == 0)
        cls = &BitmapPictureClass();
    else if (Hooks().PictureClassLookup && !extension.isEmpty())
        cls = Hooks().PictureClassLookup(extension);
    if (!cls)
        return Fail(error, GetUiMessage(UiKey::String::PictureTypeUnsupported).arg(fileName));
    QString why;
    TLoadedPicture loaded;
    bool ok = false;
    if (DecodesFromDevice(*cls)) {
        // The decoder reads the file itself: no copy of the whole file in memory.
        QFile file;
        if (!OpenFileForReading(file, fileName, MaxPictureFileSize, error))
            return false;
        ShowProgressGauge();
        ok = DecodePictureFromDevice(*cls, fileName, file, loaded, &why, trueColourTo8Bit);
    } else {
        QByteArray bytes;
        if (!ReadWholeFile(fileName, MaxPictureFileSize, bytes, error))
            return false;
        ShowProgressGauge();
        ok = DecodePicture(*cls, fileName, bytes, loaded, &why);
    }
    ReportProgress(100);
    if (!ok)
        return Fail(error, GetUiMessage(UiKey::String::PictureCannotOpen).arg(fileName, why));
    picture = loaded;
    return true;
}

} // namespace

bool LoadPictureFromFile(const QString &fileName, TLoadedPicture &picture, QString *error)
{
    return loadPicture(fileName, picture, error, false);
}

bool LoadPictureAs8Bit(const QString &fileName, QImage &bmp, QString *error)
{
    TLoadedPicture loaded;
    if (!loadPicture(fileName, loaded, error, true))
        return false;
    QImage result;
    TLowBitPicture packed;
    if (loaded.Bits > 8 && loaded.Image.format() == QImage::Format_Indexed8) {
        result = std::move(loaded.Image); // converted as it was decoded
    } else if (loaded.Bits > 8) {
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
        return Fail(error, GetUiMessage(UiKey::String::PictureOpenNoMemory).arg(fileName));
    bmp = result;
    return true;
}
