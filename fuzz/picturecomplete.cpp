// Any bytes given to the check that a picture file is not cut short end in a verdict:
// the check follows offsets, counts and runs from the file and must never read past it.
// A bitmap judged whole stays whole with bytes added at its end (its rows are found by
// offset and size).
#include "core/picture/picturecomplete.h"

#include <QBuffer>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const char *format : { "BMP", "TIFF", "JPEG", "PCX" }) {
        QString error;
        const bool whole = CheckPictureComplete(format, bytes, &error);
        if (whole != error.isEmpty())
            std::abort();
        // A bitmap whose headers are all there (the compression field included) finds its
        // rows by offset and size alone.
        const bool headersThere = format[0] == 'B' && bytes.size() >= 34;
        if (whole && headersThere && !CheckPictureComplete(format, bytes + QByteArray(7, '\0')))
            std::abort();
        // From a device, at a position past a prefix: the same verdict.
        QByteArray prefixed = "prefix" + bytes;
        QBuffer buffer(&prefixed);
        buffer.open(QIODevice::ReadOnly);
        buffer.seek(6);
        if (CheckPictureComplete(format, buffer) != whole || buffer.pos() != 6)
            std::abort();
    }
    return 0;
}
