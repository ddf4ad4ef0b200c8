#include "core/picture/pcxfile.h"

#include "core/base/bytereader.h"
#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/base/progress.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

namespace {

constexpr int HeaderSize = 128;
constexpr int PaletteBlock = 769; // marker and 256 x (red, green, blue)
constexpr int MaxRun = 63;

void emitRun(QByteArray &out, std::uint8_t value, int count)
{
    if (count > 1 || value >= 192)
        out.append(char(192 + count));
    out.append(char(value));
}

} // namespace

QByteArray EncodePcx(const QImage &bmp)
{
    if (bmp.format() != QImage::Format_Indexed8 || bmp.width() < 1 || bmp.height() < 1
        || bmp.width() > MaxPictureSide || bmp.height() > MaxPictureSide)
        return {};
    const int width = bmp.width(), height = bmp.height();
    QByteArray out;
    out.reserve(HeaderSize + qint64(width) * height / 2 + PaletteBlock);
    out.append(char(10)); // manufacturer
    out.append(char(5)); // version
    out.append(char(1)); // run-length encoding
    out.append(char(8)); // bits per pixel per plane
    PutU16le(out, 0);
    PutU16le(out, 0);
    PutU16le(out, std::uint16_t(width - 1));
    PutU16le(out, std::uint16_t(height - 1));
    PutU16le(out, std::uint16_t(width));
    PutU16le(out, std::uint16_t(height));
    out.append(QByteArray(48, '\0'));
    out.append(char(0)); // reserved
    out.append(char(1)); // planes
    PutU16le(out, std::uint16_t(width)); // bytes per line, not padded
    PutU16le(out, 1); // palette type
    PutU16le(out, 0);
    PutU16le(out, 0);
    out.append(QByteArray(54, '\0'));

    ShowProgressGauge();
    TProgressSteps progress(height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t *row = bmp.constScanLine(y);
        std::uint8_t value = row[0];
        int count = 1;
        for (int x = 1; x < width; ++x) {
            if (row[x] != value || count == MaxRun) {
                emitRun(out, value, count);
                value = row[x];
                count = 1;
            } else {
                ++count;
            }
        }
        emitRun(out, value, count);
        progress.step(y + 1);
    }
    progress.finish();

    out.append(char(12));
    const QList<QRgb> table = bmp.colorTable();
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < table.size() ? table[i] : qRgb(0, 0, 0);
        out.append(char(qRed(c)));
        out.append(char(qGreen(c)));
        out.append(char(qBlue(c)));
    }
    return out;
}

bool SavePictureAsPcx(const QImage &bmp, const QString &fileName, QString *error)
{
    const QByteArray bytes = EncodePcx(bmp);
    if (bytes.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::PcxSaveNot8Bit));
    return WriteFileAtomically(fileName, bytes, error);
}

bool IsPcx8(const QByteArray &bytes)
{
    return bytes.size() >= HeaderSize && bytes[0] == 10 && bytes[2] == 1 && bytes[3] == 8 && bytes[65] == 1;
}

bool DecodePcx8(const QByteArray &bytes, QImage &picture, QString *error)
{
    if (!IsPcx8(bytes))
        return Fail(error, GetUiMessage(UiKey::String::PcxNot8Bit));
    TByteReader in(bytes, 4);
    const int xmin = in.u16le(), ymin = in.u16le(), xmax = in.u16le(), ymax = in.u16le();
    in.seek(66);
    const qint64 bytesPerLine = in.u16le();
    const qint64 width = qint64(xmax) - xmin + 1, height = qint64(ymax) - ymin + 1;
    if (!in.ok() || width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide
        || bytesPerLine < width)
        return Fail(error, GetUiMessage(UiKey::String::PcxHeaderDamaged));
    if (!CheckPictureBudget(width, height, 1, error))
        return false;
    const qint64 dataEnd = bytes.size() - PaletteBlock;
    if (dataEnd < HeaderSize || bytes[dataEnd] != 12)
        return Fail(error, GetUiMessage(UiKey::String::PcxNoPalette));
    // A run byte pair gives at most 63 bytes: a file too short for its size is damaged.
    if (bytesPerLine * height > (dataEnd - HeaderSize) * MaxRun)
        return Fail(error, GetUiMessage(UiKey::String::PcxTruncated));

    QImage out(int(width), int(height), QImage::Format_Indexed8);
    if (out.isNull())
        return Fail(error, GetUiMessage(UiKey::String::PcxNoMemory));
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    qint64 pos = HeaderSize;
    // Runs may cross row ends; the bytes past the width of a line are dropped.
    qint64 column = 0;
    int y = 0;
    std::uint8_t *row = out.scanLine(0);
    while (y < height) {
        if (pos >= dataEnd)
            return Fail(error, GetUiMessage(UiKey::String::PcxTruncated));
        std::uint8_t value = data[pos++];
        int count = 1;
        if (value >= 192) {
            count = value - 192;
            if (pos >= dataEnd)
                return Fail(error, GetUiMessage(UiKey::String::PcxTruncated));
            value = data[pos++];
        }
        for (int i = 0; i < count && y < height; ++i) {
            if (column < width)
                row[column] = value;
            if (++column == bytesPerLine) {
                column = 0;
                if (++y < height)
                    row = out.scanLine(y);
            }
        }
    }
    QList<QRgb> table(256);
    const std::uint8_t *pal = data + dataEnd + 1;
    for (int i = 0; i < 256; ++i)
        table[i] = qRgb(pal[3 * i], pal[3 * i + 1], pal[3 * i + 2]);
    out.setColorTable(table);
    picture = out;
    return true;
}
