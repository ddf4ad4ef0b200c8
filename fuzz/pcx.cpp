// Any bytes given to the 8-bit PCX reader end in a picture or a clear error.
#include "core/picture/pcxfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage picture;
    QString error;
    if (DecodePcx8(bytes, picture, &error)) {
        QImage again;
        if (!DecodePcx8(EncodePcx(picture), again) || again != picture)
            std::abort();
    } else if (error.isEmpty() || !picture.isNull()) {
        std::abort();
    }
    return 0;
}
