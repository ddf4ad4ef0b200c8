// Any bytes given to the reader of the undo store's picture files end in a picture that
// writes back to the same cells and colours, or in a refusal that leaves the output alone.
#include "core/undo/undofiles.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage picture;
    if (DecodeUndoPicture(bytes, picture)) {
        QImage again;
        if (!DecodeUndoPicture(EncodeUndoPicture(picture), again) || again != picture)
            std::abort();
    } else if (!picture.isNull()) {
        std::abort();
    }
    return 0;
}
