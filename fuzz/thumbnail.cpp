// Any bytes given to the thumbnail readers of the library browsers and the explorer (weave
// files, project previews, and the pictures decoded scaled down) end in a thumbnail or a
// clear error, never in a crash. The first byte chooses the kind of file, the second the
// room the picture gets.
#include "shell/thumbnails.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    static const char *const names[] = { "f.ovw", "f.ovy", "f.png", "f.bmp", "f.jpg" };
    const QString name = QString::fromLatin1(names[data[0] % 5]);
    const int side = data[1];
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), qsizetype(size - 2));
    TThumbnail thumbnail;
    QString error;
    if (!ThumbnailFromBytes(name, bytes, QSize(side, side), thumbnail, &error)) {
        if (error.isEmpty() || !thumbnail.Picture.isNull())
            std::abort();
        return 0;
    }
    if (thumbnail.Picture.isNull() || thumbnail.FileSize.isEmpty())
        std::abort();
    // A weave fills its room; a picture is never decoded larger than its room or its file.
    if (thumbnail.IsWeave && side > 0 && thumbnail.Picture.size() != QSize(side, side))
        std::abort();
    if (!thumbnail.IsWeave && side > 0 && !name.endsWith(QLatin1String("ovy"))
        && (thumbnail.Picture.width() > std::max(side, 1) || thumbnail.Picture.height() > std::max(side, 1))
        && thumbnail.Picture.size() != thumbnail.FileSize)
        std::abort();
    return 0;
}
