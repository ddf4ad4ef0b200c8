// Any bytes given to the Photoshop reader end in a picture or a clear error.
#include "core/decode/psdfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage picture;
    QString error;
    int bits = 0;
    if (DecodePsd(bytes, picture, bits, &error)) {
        if (picture.isNull() || (bits != 1 && bits != 8 && bits != 24))
            std::abort();
    } else if (error.isEmpty() || !picture.isNull()) {
        std::abort();
    }
    return 0;
}
