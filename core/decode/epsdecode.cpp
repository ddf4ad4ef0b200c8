#include "core/decode/epsdecode.h"

#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The PostScript text itself: a DOS EPS binary header (C5 D0 D3 C6) points at it.
QByteArray postScriptPart(const QByteArray &bytes)
{
    if (bytes.size() >= 12 && std::uint8_t(bytes[0]) == 0xC5 && std::uint8_t(bytes[1]) == 0xD0
        && std::uint8_t(bytes[2]) == 0xD3 && std::uint8_t(bytes[3]) == 0xC6) {
        auto u32 = [&](int at) {
            return qint64(std::uint8_t(bytes[at])) | (qint64(std::uint8_t(bytes[at + 1])) << 8)
                | (qint64(std::uint8_t(bytes[at + 2])) << 16) | (qint64(std::uint8_t(bytes[at + 3])) << 24);
        };
        const qint64 start = u32(4), length = u32(8);
        if (start < 0 || length < 0 || start > bytes.size() || length > bytes.size() - start)
            return {};
        return bytes.mid(start, length);
    }
    return bytes;
}

} // namespace

bool DecodeEps(const QByteArray &bytes, QImage &picture, QString *error)
{
    const QByteArray ps = postScriptPart(bytes);
    if (!ps.startsWith("%!"))
        return Fail(error, GetUiMessage(UiKey::String::EpsNotEps));
    // The bounding box decides the picture's size in points (= pixels at 72 dpi).
    static const QRegularExpression boxPattern(
        QStringLiteral("^%%BoundingBox:\\s*(-?\\d+)\\s+(-?\\d+)\\s+(-?\\d+)\\s+(-?\\d+)"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch box = boxPattern.match(QString::fromLatin1(ps.left(64 * 1024)));
    if (!box.hasMatch())
        return Fail(error, GetUiMessage(UiKey::String::EpsNoBoundingBox));
    const qint64 width = box.captured(3).toLongLong() - box.captured(1).toLongLong();
    const qint64 height = box.captured(4).toLongLong() - box.captured(2).toLongLong();
    if (width < 1 || height < 1 || width > MaxPictureSide || height > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::EpsBoundingBoxBad));
    // Ghostscript draws the whole box into a temporary file, which is then read as a
    // true-colour picture: a small file can claim a vast box, so the budget is held first.
    if (!CheckPictureBudget(width, height, 4, error))
        return false;

    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    if (gs.isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::EpsNoGhostscript));
    QTemporaryDir dir;
    if (!dir.isValid())
        return Fail(error, GetUiMessage(UiKey::String::EpsNoTempFolder));
    const QString input = dir.filePath(QStringLiteral("in.eps"));
    const QString output = dir.filePath(QStringLiteral("out.ppm"));
    QFile in(input);
    if (!in.open(QIODevice::WriteOnly) || in.write(ps) != ps.size())
        return Fail(error, GetUiMessage(UiKey::String::EpsNoTempFile));
    in.close();

    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(gs,
        { QStringLiteral("-q"), QStringLiteral("-dSAFER"), QStringLiteral("-dBATCH"),
            QStringLiteral("-dNOPAUSE"), QStringLiteral("-dEPSCrop"), QStringLiteral("-r72"),
            QStringLiteral("-sDEVICE=ppmraw"), QStringLiteral("-sOutputFile=") + output, QStringLiteral("--"),
            input });
    if (!process.waitForStarted())
        return Fail(error, GetUiMessage(UiKey::String::EpsCannotStart));
    if (!process.waitForFinished(RunState().EpsTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return Fail(error, GetUiMessage(UiKey::String::EpsTooSlow));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return Fail(error, GetUiMessage(UiKey::String::EpsCannotDraw));
    QImageReader reader(output, "ppm");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxPictureSide || size.height() > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::EpsNoPicture));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return Fail(error, GetUiMessage(UiKey::String::EpsNoPicture));
    picture = image.convertToFormat(QImage::Format_RGB32);
    return true;
}
