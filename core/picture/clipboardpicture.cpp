#include "core/picture/clipboardpicture.h"

#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/picture/bmpfile.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMimeData>

QString ClipboardMimeType(const char *format)
{
    return QStringLiteral("application/x-dorwen-cad-") + QLatin1String(format);
}

bool DecodeClipboardPicture(const QByteArray &block, QImage &bmp, QString *error)
{
    if (block.size() > MaxPictureFileSize)
        return Fail(error, GetUiMessage(UiKey::String::ClipboardPictureTooLarge));
    return DecodeBmp8(block, bmp, error);
}

bool PastePictureFromClipboard(QImage &bmp)
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    const QString type = ClipboardMimeType(CF_256Bitmap);
    if (!data || !data->hasFormat(type))
        return false;
    return DecodeClipboardPicture(data->data(type), bmp);
}

bool ClipboardHoldsPicture()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return false;
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return false;
    if (data->hasImage())
        return true;
    for (const char *format : { CF_WORD, CF_BMP, CF_256Bitmap })
        if (data->hasFormat(ClipboardMimeType(format)))
            return true;
    return false;
}
