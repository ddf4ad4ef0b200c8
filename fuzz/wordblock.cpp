// Any block offered as a floating text on the clipboard ends in a sound record or a clear
// error that leaves the record as it was; a sound record is written back to the same record.
#include "core/picture/wordblock.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool sideSound(std::int32_t low, std::int32_t high)
{
    const qint64 side = qint64(high) - low + 1;
    return side >= 1 && side <= 65535;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    TWordBlock block;
    block.CharSpacing = 12345;
    QString error;
    if (DecodeWordBlock(bytes, block, &error)) {
        if (block.Text.isEmpty() || !std::isfinite(block.Angle) || block.TextHeight < 1
            || block.TextHeight > 65535 || block.TextWidth < 1 || block.TextWidth > 65535
            || !sideSound(block.Frame.Left, block.Frame.Right)
            || !sideSound(block.Frame.Top, block.Frame.Bottom)
            || !sideSound(block.TextBox.Left, block.TextBox.Right)
            || !sideSound(block.TextBox.Top, block.TextBox.Bottom) || std::abs(block.CharSpacing) > 65535
            || std::abs(block.Position.X) > MaxWordCoordinate
            || std::abs(block.Position.Y) > MaxWordCoordinate || std::abs(block.Centre.X) > MaxWordCoordinate
            || std::abs(block.Centre.Y) > MaxWordCoordinate)
            std::abort();
        // What was read writes again (unless the text came as bytes GBK cannot hold) and
        // reads back the same frame. The text may read differently: GBK bytes that happen to
        // be valid UTF-8 read as UTF-8, as every string field does.
        QByteArray again;
        if (EncodeWordBlock(block, again)) {
            TWordBlock reread;
            if (!DecodeWordBlock(again, reread) || reread.Text.isEmpty() || reread.Frame != block.Frame
                || reread.CharSpacing != block.CharSpacing)
                std::abort();
        }
    } else if (error.isEmpty() || block.CharSpacing != 12345) {
        std::abort();
    }
    return 0;
}
