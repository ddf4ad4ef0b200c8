// Any block offered as the program's 8-bit clipboard picture ends in a picture or a
// clear error.
#include "core/picture/clipboardpicture.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray block(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage picture;
    QString error;
    if (DecodeClipboardPicture(block, picture, &error)) {
        if (picture.format() != QImage::Format_Indexed8 || picture.colorCount() != 256)
            std::abort();
    } else if (error.isEmpty() || !picture.isNull()) {
        std::abort();
    }
    return 0;
}
