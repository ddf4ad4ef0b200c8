#include "shell/scanner.h"

#include "core/base/error.h"
#include "core/base/filewrite.h"
#include "core/picture/bmpfile.h"
#include "core/settings/uitexts.h"
#include "shell/scanpicture.h"

#include <QBuffer>

#include <sane/sane.h>

#include <vector>

namespace {
QString statusText(SANE_Status status)
{
    return QString::fromLocal8Bit(sane_strstatus(status));
}
bool failStatus(SANE_Status status, QString *error)
{
    return Fail(error, GetUiMessage(UiKey::String::ScanFailed).arg(statusText(status)));
}
} // namespace

QString TScanDevice::Label() const
{
    QString label = (Vendor + QLatin1Char(' ') + Model).trimmed();
    return label.isEmpty() ? Name : label + QStringLiteral(" (") + Name + QLatin1Char(')');
}

struct TScanSession::Impl {
    SANE_Status initStatus = SANE_STATUS_GOOD;
    SANE_Handle handle = nullptr;

    // One frame, read to its end; last tells whether the scanner said it was the last.
    TScanResult readFrame(
        TScanPicture &picture, const std::function<bool(int)> &progress, bool &last, QString *error);
    static TScanResult fail(QString *error, const QString &text)
    {
        Fail(error, text);
        return TScanResult::Failed;
    }
    static TScanResult fail(QString *error, SANE_Status status)
    {
        failStatus(status, error);
        return TScanResult::Failed;
    }
};

TScanSession::TScanSession()
    : m_impl(new Impl)
{
    SANE_Int version = 0;
    m_impl->initStatus = sane_init(&version, nullptr);
}

TScanSession::~TScanSession()
{
    Close();
    if (m_impl->initStatus == SANE_STATUS_GOOD)
        sane_exit();
    delete m_impl;
}

bool TScanSession::IsReady(QString *error) const
{
    return m_impl->initStatus == SANE_STATUS_GOOD || failStatus(m_impl->initStatus, error);
}

bool TScanSession::Devices(QList<TScanDevice> &devices, QString *error)
{
    devices.clear();
    if (!IsReady(error))
        return false;
    const SANE_Device **list = nullptr;
    const SANE_Status status = sane_get_devices(&list, SANE_FALSE);
    if (status != SANE_STATUS_GOOD)
        return failStatus(status, error);
    for (; list && *list; ++list) {
        const SANE_Device &d = **list;
        devices.append({ QString::fromLocal8Bit(d.name), QString::fromLocal8Bit(d.vendor),
            QString::fromLocal8Bit(d.model), QString::fromLocal8Bit(d.type) });
    }
    return true;
}

bool TScanSession::Open(const QString &name, QString *error)
{
    Close();
    if (!IsReady(error))
        return false;
    const SANE_Status status = sane_open(name.toLocal8Bit().constData(), &m_impl->handle);
    if (status != SANE_STATUS_GOOD) {
        m_impl->handle = nullptr;
        return failStatus(status, error);
    }
    return true;
}

void TScanSession::Close()
{
    if (m_impl->handle) {
        sane_close(m_impl->handle);
        m_impl->handle = nullptr;
    }
}

TScanResult TScanSession::Impl::readFrame(
    TScanPicture &picture, const std::function<bool(int)> &progress, bool &last, QString *error)
{
    SANE_Status status = sane_start(handle);
    if (status == SANE_STATUS_CANCELLED)
        return TScanResult::Cancelled;
    if (status != SANE_STATUS_GOOD)
        return fail(error, status);
    SANE_Parameters p {};
    status = sane_get_parameters(handle, &p);
    if (status != SANE_STATUS_GOOD)
        return fail(error, status);
    if (int(p.format) < int(SANE_FRAME_GRAY) || int(p.format) > int(SANE_FRAME_BLUE))
        return fail(error, GetUiMessage(UiKey::String::ScanUnknownFrame).arg(int(p.format)).arg(p.depth));
    last = p.last_frame != SANE_FALSE;
    const TScanFrameParams params { TScanFrame(int(p.format)), last, p.bytes_per_line, p.pixels_per_line,
        p.lines, p.depth };
    if (!picture.BeginFrame(params, error))
        return TScanResult::Failed;
    std::vector<SANE_Byte> buffer(ReadChunk);
    for (;;) {
        SANE_Int length = 0;
        status = sane_read(handle, buffer.data(), SANE_Int(buffer.size()), &length);
        if (status == SANE_STATUS_EOF)
            break;
        if (status == SANE_STATUS_CANCELLED)
            return TScanResult::Cancelled;
        if (status != SANE_STATUS_GOOD)
            return fail(error, status);
        if (!picture.Append(reinterpret_cast<const char *>(buffer.data()), length, error))
            return TScanResult::Failed;
        if (progress && !progress(picture.Percent()))
            return TScanResult::Cancelled;
    }
    return picture.EndFrame(error) ? TScanResult::Done : TScanResult::Failed;
}

TScanResult TScanSession::Acquire(QImage &picture, const std::function<bool(int)> &progress, QString *error)
{
    if (!m_impl->handle)
        return m_impl->fail(error, GetUiMessage(UiKey::String::ScanNoScanner));
    TScanPicture scan;
    TScanResult result = TScanResult::Done;
    for (bool last = false; !last && result == TScanResult::Done;)
        result = m_impl->readFrame(scan, progress, last, error);
    // Ends the scan after its last frame, and stops one cancelled or failed half-way.
    sane_cancel(m_impl->handle);
    if (result != TScanResult::Done)
        return result;
    const QImage image = scan.Picture();
    if (image.isNull())
        return m_impl->fail(error, GetUiMessage(UiKey::String::ScanShortRead));
    picture = image;
    return TScanResult::Done;
}

bool WriteScanBitmap(const QImage &picture, const QString &fileName, QString *error)
{
    QByteArray bytes;
    if (picture.format() == QImage::Format_Indexed8) {
        bytes = EncodeBmp8(picture);
    } else {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!picture.convertToFormat(QImage::Format_RGB32).save(&buffer, "BMP"))
            bytes.clear();
    }
    QString why;
    if (bytes.isEmpty() || !WriteFileAtomically(fileName, bytes, &why))
        return Fail(
            error, GetUiMessage(UiKey::String::ScanCannotWrite).arg(fileName) + QLatin1Char('\n') + why);
    return true;
}
