// Any bytes given to the bitmap readers (8-bit, and 1-, 2- and 4-bit) end in a picture or
// a clear error.
#include "core/picture/bmpfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage picture;
    QString error;
    if (DecodeBmp8(bytes, picture, &error)) {
        // A picture that was read writes back to the same cells and colours.
        QImage again;
        if (!DecodeBmp8(EncodeBmp8(picture), again) || again != picture)
            std::abort();
    } else if (error.isEmpty() || !picture.isNull()) {
        std::abort();
    }
    TLowBitPicture packed;
    if (DecodeBmpLowBit(bytes, packed, &error)) {
        QImage unpacked;
        ConvertLowBitTo8Bit(packed, unpacked);
        if (!packed.isValid() || unpacked.format() != QImage::Format_Indexed8)
            std::abort();
    } else if (error.isEmpty() || packed.Width != 0) {
        std::abort();
    }
    return 0;
}
