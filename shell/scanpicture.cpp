#include "shell/scanpicture.h"

#include "core/base/error.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"

#include <algorithm>
#include <cstring>

namespace {
bool isPass(TScanFrame f)
{
    return f == TScanFrame::Red || f == TScanFrame::Green || f == TScanFrame::Blue;
}

// The bytes one line of the frame needs at least, or -1 for a form not taken.
qint64 lineBytes(const TScanFrameParams &p)
{
    const qint64 w = p.PixelsPerLine;
    if (p.Format == TScanFrame::Gray && p.Depth == 1)
        return (w + 7) / 8;
    if (p.Depth != 8 && p.Depth != 16)
        return -1;
    const int samples = p.Format == TScanFrame::Rgb ? 3 : 1;
    return w * samples * (p.Depth / 8);
}

// One sample: 8 bits as they are, 16 bits (the host's byte order) by their high byte.
quint8 sample(const uchar *line, qsizetype index, int depth)
{
    if (depth == 8)
        return line[index];
    quint16 v;
    std::memcpy(&v, line + 2 * index, 2);
    return quint8(v >> 8);
}

QString unknownFrame(const TScanFrameParams &p)
{
    return GetUiMessage(UiKey::String::ScanUnknownFrame).arg(int(p.Format)).arg(p.Depth);
}
} // namespace

bool TScanPicture::BeginFrame(const TScanFrameParams &p, QString *error)
{
    const qint64 need = lineBytes(p);
    if (need < 0 || p.PixelsPerLine <= 0 || p.BytesPerLine < need || p.Lines == 0 || p.Lines < -1)
        return Fail(error, unknownFrame(p));
    if (p.PixelsPerLine > MaxPictureSide || p.Lines > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::PictureSideOver).arg(MaxPictureSide));
    const bool colour = p.Format != TScanFrame::Gray;
    if (m_framesDone == 0) {
        m_colour = colour;
        m_passes = isPass(p.Format) ? 3 : 1;
        m_width = p.PixelsPerLine;
        m_lines = p.Lines;
        m_pixels.clear();
        if (m_lines > 0 && !growTo(m_lines, error))
            return false;
    } else if (!isPass(p.Format) || !isPass(m_params.Format) || p.PixelsPerLine != m_width
        || (p.Lines != -1 && p.Lines != m_lines)) {
        return Fail(error, unknownFrame(p));
    }
    m_params = p;
    m_line = 0;
    m_partial.clear();
    m_inFrame = true;
    return true;
}

bool TScanPicture::growTo(int lines, QString *error)
{
    const int bytes = m_colour ? 3 : 1;
    if (lines > MaxPictureSide)
        return Fail(error, GetUiMessage(UiKey::String::PictureSideOver).arg(MaxPictureSide));
    if (!CheckPictureBudget(m_width, lines, bytes, error))
        return false;
    const qsizetype size = qsizetype(m_width) * bytes * lines;
    if (m_pixels.size() < size) {
        // A hand scanner's lines come without a count: room grows by half at a time.
        if (size > m_pixels.capacity())
            m_pixels.reserve(
                std::max(size, std::min<qsizetype>(PictureMemoryBudget, m_pixels.size() * 3 / 2)));
        m_pixels.resize(size, '\0');
    }
    return true;
}

bool TScanPicture::Append(const char *data, qsizetype size, QString *error)
{
    while (size > 0) {
        const qsizetype take = std::min<qsizetype>(size, m_params.BytesPerLine - m_partial.size());
        m_partial.append(data, take);
        data += take;
        size -= take;
        if (m_partial.size() == m_params.BytesPerLine) {
            if (!convertLine(error))
                return false;
            m_partial.clear();
        }
    }
    return true;
}

bool TScanPicture::convertLine(QString *error)
{
    // The first pass of a scan of unknown length sets the lines; later passes keep to them.
    const int known = m_framesDone == 0 ? m_params.Lines : m_lines;
    if (known != -1 && m_line >= known)
        return Fail(error, unknownFrame(m_params));
    if (known == -1 && !growTo(m_line + 1, error))
        return false;
    const auto *in = reinterpret_cast<const uchar *>(m_partial.constData());
    const int bytes = m_colour ? 3 : 1;
    auto *out = reinterpret_cast<uchar *>(m_pixels.data()) + qsizetype(m_line) * m_width * bytes;
    const int depth = m_params.Depth;
    switch (m_params.Format) {
    case TScanFrame::Gray:
        for (int x = 0; x < m_width; ++x)
            // A set bit of a one-bit grey frame is black.
            out[x] = depth == 1 ? ((in[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255) : sample(in, x, depth);
        break;
    case TScanFrame::Rgb:
        for (qsizetype i = 0; i < qsizetype(m_width) * 3; ++i)
            out[i] = sample(in, i, depth);
        break;
    case TScanFrame::Red:
    case TScanFrame::Green:
    case TScanFrame::Blue: {
        const int channel = int(m_params.Format) - int(TScanFrame::Red);
        for (int x = 0; x < m_width; ++x)
            out[3 * x + channel] = sample(in, x, depth);
        break;
    }
    }
    ++m_line;
    return true;
}

bool TScanPicture::EndFrame(QString *error)
{
    if (!m_inFrame)
        return Fail(error, unknownFrame(m_params));
    m_inFrame = false;
    const int expected = m_framesDone == 0 ? m_params.Lines : m_lines;
    if ((expected != -1 && m_line < expected) || (expected == -1 && m_line == 0))
        return Fail(error, GetUiMessage(UiKey::String::ScanShortRead));
    if (m_framesDone == 0)
        m_lines = m_line;
    ++m_framesDone;
    return true;
}

int TScanPicture::Percent() const
{
    const int lines = m_framesDone == 0 ? m_params.Lines : m_lines;
    if (lines <= 0)
        return -1;
    const qint64 done = qint64(m_framesDone) * lines + (m_inFrame ? m_line : 0);
    return int(std::min<qint64>(100, done * 100 / (qint64(m_passes) * lines)));
}

QImage TScanPicture::Picture() const
{
    if (m_framesDone < m_passes || m_lines <= 0)
        return QImage();
    const int bytes = m_colour ? 3 : 1;
    QImage image(m_width, m_lines, m_colour ? QImage::Format_RGB888 : QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    if (!m_colour) {
        QList<QRgb> grey(256);
        for (int i = 0; i < 256; ++i)
            grey[i] = qRgb(i, i, i);
        image.setColorTable(grey);
    }
    for (int y = 0; y < m_lines; ++y)
        std::memcpy(image.scanLine(y), m_pixels.constData() + qsizetype(y) * m_width * bytes,
            std::size_t(m_width) * bytes);
    return image;
}
