// Any block offered as a floating picture on the clipboard, and any shape entry offered
// beside it, ends in a sound record or a clear error that leaves the record as it was.
#include "core/picture/floatingblock.h"

#include "core/picture/picturelimits.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TFloatingBlock block;
    block.Angle = 0.5;
    QString error;
    if (DecodeFloatingBlock(bytes, block, &error)) {
        const TRect &r = block.SelRect;
        if (block.Companion.format() != QImage::Format_Indexed8 || block.Companion.colorCount() != 256
            || !std::isfinite(block.Angle) || r.Right < r.Left || r.Bottom < r.Top
            || qint64(r.Right) - r.Left >= MaxPictureSide || qint64(r.Bottom) - r.Top >= MaxPictureSide
            || block.KeptIndexes.size() > 256 || block.KeptColors.size() > 256
            || !CheckTurnedPictureSize(
                qint64(r.Right) - r.Left + 1, qint64(r.Bottom) - r.Top + 1, block.Angle))
            std::abort();
    } else if (error.isEmpty() || block.Angle != 0.5 || !block.Companion.isNull()) {
        std::abort();
    }
    // The same bytes as the shape entry of a 16 x 16 piece.
    QImage mask;
    error.clear();
    if (DecodeFloatingShape(bytes, QSize(16, 16), mask, &error)) {
        if (mask.size() != QSize(16, 16))
            std::abort();
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                if (mask.constScanLine(y)[x] > 1)
                    std::abort();
    } else if (error.isEmpty() || !mask.isNull()) {
        std::abort();
    }
    return 0;
}
