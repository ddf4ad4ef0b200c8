#include "core/decode/picturedecode.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/decode/epsdecode.h"
#include "core/decode/magickdecode.h"
#include "core/decode/pictureconvert.h"
#include "core/decode/psdfile.h"
#include "core/palette/palette.h"
#include "core/picture/bmpfile.h"
#include "core/picture/pcxfile.h"
#include "core/picture/picturecomplete.h"
#include "core/picture/picturelimits.h"
#include "core/picture/qtdecode.h"
#include "core/settings/uitexts.h"

#include <QBuffer>
#include <QImageReader>

#include <algorithm>
#include <cstring>

const TPictureClass &BitmapPictureClass()
{
    static const TPictureClass cls { QStringLiteral("Windows bitmaps"), TPictureDecoder::Bitmap, "BMP", {} };
    return cls;
}

namespace {

// The bits per pixel a BMP header declares, and whether our own readers take the file
// (an uncompressed bitmap with a Windows info header; the old OS/2 header, with its
// 3-byte colour entries, is left to Qt); 0 when the header is too short or not a
// bitmap's.
int bmpDeclaredBits(const QByteArray &bytes, bool &ownReader)
{
    TByteReader in(bytes);
    if (!in.has(18) || bytes[0] != 'B' || bytes[1] != 'M')
        return 0;
    in.seek(14);
    const std::uint32_t infoSize = in.u32le();
    if (infoSize == 12) {
        in.seek(24);
        ownReader = false;
        const int bits = in.u16le();
        return in.ok() ? bits : 0;
    }
    in.seek(28);
    const int bits = in.u16le();
    ownReader = in.u32le() == 0;
    return in.ok() ? bits : 0;
}

// The depth a PCX header declares when it is below 8 bits (bits per pixel times planes:
// 1, 2 or 4); 0 otherwise.
int pcxDeclaredBits(const QByteArray &bytes)
{
    if (bytes.size() < 128)
        return 0;
    const int bits = std::uint8_t(bytes[3]) * std::uint8_t(bytes[65]);
    return bits == 1 || bits == 2 || bits == 4 ? bits : 0;
}

// The depth of a palette PNG below 8 bits (1, 2 or 4); 8 for every other PNG.
int pngDeclaredBits(const QByteArray &bytes)
{
    if (bytes.size() < 26 || !bytes.startsWith("\x89PNG\r\n\x1a\n") || bytes.mid(12, 4) != "IHDR")
        return 8;
    const int depth = std::uint8_t(bytes[24]), colorType = std::uint8_t(bytes[25]);
    return colorType == 3 && (depth == 1 || depth == 2 || depth == 4) ? depth : 8;
}

// The rest of a device, up to MaxPictureFileSize bytes: a device without a size (a pipe)
// is read in pieces up to one byte past the limit.
bool readBounded(QIODevice &device, const QString &fileName, QByteArray &bytes, QString *error)
{
    QByteArray data;
    if (!device.isSequential()) {
        if (device.size() - device.pos() > MaxPictureFileSize)
            return Fail(error, GetUiMessage(UiKey::String::FileNamedTooLarge).arg(fileName));
        data = device.readAll();
    } else {
        while (data.size() <= MaxPictureFileSize) {
            const QByteArray piece = device.read(1 << 16);
            if (piece.isEmpty())
                break;
            data += piece;
        }
    }
    if (data.size() > MaxPictureFileSize)
        return Fail(error, GetUiMessage(UiKey::String::FileNamedTooLarge).arg(fileName));
    bytes = data;
    return true;
}

// Brings a decoded picture into one of the three forms of TLoadedPicture.
bool normalise(QImage image, int declaredBits, TLoadedPicture &out, QString *error)
{
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        return Fail(error, GetUiMessage(UiKey::String::PictureEmpty));
    if (image.width() > MaxPictureSide || image.height() > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::PictureSideOver).arg(MaxPictureSide));
    int bits = declaredBits;
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        bits = 1;
        break;
    case QImage::Format_Indexed8: {
        // The colour table gets 256 entries, black past the file's own.
        TPalette256 palette;
        GetGraphicPalette(image, palette);
        SetBitmapPalette(image, palette);
        if (bits <= 0 || bits > 8)
            bits = 8;
        break;
    }
    case QImage::Format_Grayscale16:
        image = std::move(image).convertToFormat(QImage::Format_Grayscale8);
        Q_FALLTHROUGH();
    case QImage::Format_Grayscale8: {
        QImage indexed(image.size(), QImage::Format_Indexed8);
        if (indexed.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PictureNoMemory));
        QList<QRgb> grey(256);
        for (int i = 0; i < 256; ++i)
            grey[i] = qRgb(i, i, i);
        indexed.setColorTable(grey);
        for (int y = 0; y < image.height(); ++y)
            std::memcpy(indexed.scanLine(y), image.constScanLine(y), size_t(image.width()));
        image = indexed;
        bits = 8;
        break;
    }
    default:
        image = std::move(image).convertToFormat(QImage::Format_RGB32);
        if (image.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PictureNoMemory));
        if (bits <= 8)
            bits = 24;
        break;
    }
    out.Image = image;
    out.Bits = bits;
    return true;
}

// An 8-bit bitmap read row by row from the device straight into the picture: no buffer of
// the whole file. Only a file that is exactly one sound bitmap is taken; anything else
// puts the device back where it stood (false), for the whole-file reader and its message.
bool readBmp8Straight(QIODevice &device, TLoadedPicture &out)
{
    const qint64 start = device.pos();
    const qint64 available = device.size() - start;
    QImage image;
    qint64 consumed = 0;
    TLoadedPicture result;
    if (available > 0 && available <= MaxPictureFileSize && ReadBmp8Image(device, available, image, consumed)
        && consumed == available && normalise(std::move(image), 8, result, nullptr)) {
        out = result;
        return true;
    }
    device.seek(start);
    return false;
}

} // namespace

bool DecodesFromDevice(const TPictureClass &cls)
{
    return cls.Decoder == TPictureDecoder::Qt || cls.Decoder == TPictureDecoder::Bitmap;
}

bool DecodePictureFromDevice(const TPictureClass &cls, const QString &fileName, QIODevice &device,
    TLoadedPicture &out, QString *error, bool trueColourTo8Bit)
{
    // The file's bytes, for the decoders that want them whole.
    auto decodeBytes = [&] {
        QByteArray bytes;
        return readBounded(device, fileName, bytes, error) && DecodePicture(cls, fileName, bytes, out, error);
    };
    if (!DecodesFromDevice(cls) || device.isSequential())
        return decodeBytes();
    // Enough of the file for the headers the classes look at.
    const QByteArray header = device.peek(64);
    if (header.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::PictureFileEmpty));
    int bits = 0;
    if (cls.Decoder == TPictureDecoder::Bitmap) {
        bool ownReader = false;
        bits = bmpDeclaredBits(header, ownReader);
        if (ownReader && bits == 8 && readBmp8Straight(device, out))
            return true;
        if (ownReader && (bits == 1 || bits == 2 || bits == 4 || bits == 8))
            return decodeBytes();
    }
    // Declared before the pictures over them, so that they go last.
    TPictureCells cells;
    QImage image;
    if (!DecodeWithQt(device, cls.Decoder == TPictureDecoder::Bitmap ? "BMP" : cls.Format, image, error,
            trueColourTo8Bit ? &cells : nullptr))
        return false;
    if (cls.Decoder == TPictureDecoder::Qt && qstrcmp(cls.Format, "PNG") == 0)
        bits = pngDeclaredBits(header);
    TLoadedPicture result;
    // Handed over, not shared, so that writing its colour table does not copy the cells.
    if (!normalise(std::move(image), bits, result, error))
        return false;
    if (trueColourTo8Bit && result.Bits > 8) {
        QImage converted;
        if (cells)
            ConvertPictureTo8BitInPlace(result.Image, cells, converted);
        else
            ConvertPictureTo8BitWithBlackAndWhite(result.Image, converted);
        result.Image = converted;
        if (result.Image.isNull())
            return Fail(error, GetUiMessage(UiKey::String::PictureNoMemory));
    }
    out = result;
    return true;
}

bool DecodePicture(const TPictureClass &cls, const QString &fileName, const QByteArray &bytes,
    TLoadedPicture &out, QString *error)
{
    if (bytes.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::PictureFileEmpty));
    QImage image;
    int bits = 0;
    TLowBitPicture lowBit;
    switch (cls.Decoder) {
    case TPictureDecoder::None:
        return Fail(error, GetUiMessage(UiKey::String::PictureTypeUnreadable).arg(cls.Name));
    case TPictureDecoder::Bitmap: {
        bool ownReader = false;
        bits = bmpDeclaredBits(bytes, ownReader);
        if (bits == 8 && ownReader) {
            if (!DecodeBmp8(bytes, image, error))
                return false;
        } else if ((bits == 1 || bits == 2 || bits == 4) && ownReader) {
            if (!DecodeBmpLowBit(bytes, lowBit, error))
                return false;
            ConvertLowBitTo8Bit(lowBit, image);
        } else if (!DecodeWithQt(bytes, "BMP", image, error)) {
            return false;
        }
        break;
    }
    case TPictureDecoder::Qt:
        if (!DecodeWithQt(bytes, cls.Format, image, error))
            return false;
        if (qstrcmp(cls.Format, "PNG") == 0)
            bits = pngDeclaredBits(bytes);
        break;
    case TPictureDecoder::Magick:
        if (!DecodeWithMagick(bytes, cls.Format, image, bits, error))
            return false;
        break;
    case TPictureDecoder::Pcx:
        if (IsPcx8(bytes)) {
            if (!DecodePcx8(bytes, image, error))
                return false;
            bits = 8;
        } else if (!DecodeWithMagick(bytes, "PCX", image, bits, error)) {
            return false;
        } else if (image.format() == QImage::Format_Indexed8 && pcxDeclaredBits(bytes) > 0) {
            // The library hands 1-, 2- and 4-bit files over as 8-bit ones.
            bits = pcxDeclaredBits(bytes);
        }
        break;
    case TPictureDecoder::Eps:
        if (!DecodeEps(bytes, image, error))
            return false;
        bits = 24;
        break;
    case TPictureDecoder::Photoshop:
        if (!DecodePsd(bytes, image, bits, error))
            return false;
        break;
    case TPictureDecoder::Custom: {
        if (!cls.Read)
            return Fail(error, GetUiMessage(UiKey::String::PictureTypeUnreadable).arg(cls.Name));
        TLoadedPicture own;
        if (!cls.Read(fileName, bytes, own, error))
            return false;
        image = own.Image;
        bits = own.Bits;
        break;
    }
    }
    TLoadedPicture result;
    // Handed over, not shared, so that writing its colour table does not copy the cells.
    if (!normalise(std::move(image), bits, result, error))
        return false;
    result.LowBit = lowBit;
    out = result;
    return true;
}
