// Whatever frames a scanner announces and whatever bytes it sends, the scan picture ends in
// a picture of the announced form or in a clear error, never in a crash. The first bytes
// give the frames' parameters, the next how the bytes are cut into reads.
#include "shell/scanpicture.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 8)
        return 0;
    TScanPicture picture;
    const int frames = 1 + data[0] % 3;
    std::size_t at = 8;
    for (int f = 0; f < frames; ++f) {
        TScanFrameParams p;
        p.Format = TScanFrame(data[1 + f] % 5);
        p.LastFrame = f == frames - 1;
        p.PixelsPerLine = 1 + data[4] % 64;
        p.BytesPerLine = p.PixelsPerLine * (1 + data[5] % 6);
        p.Lines = data[6] % 17 - 1;
        static const int depths[] = { 1, 8, 16, 4 };
        p.Depth = depths[data[7] % 4];
        QString error;
        if (!picture.BeginFrame(p, &error)) {
            if (error.isEmpty())
                std::abort();
            return 0;
        }
        const std::size_t piece = 1 + (at < size ? data[at] % 32 : 0);
        while (at < size && piece > 0) {
            const std::size_t take = std::min(piece, size - at);
            if (!picture.Append(reinterpret_cast<const char *>(data + at), qsizetype(take), &error))
                return error.isEmpty() ? (std::abort(), 0) : 0;
            at += take;
            if (data[at - 1] == 0xff)
                break; // the frame ends here
        }
        if (!picture.EndFrame(&error)) {
            if (error.isEmpty())
                std::abort();
            return 0;
        }
    }
    const QImage image = picture.Picture();
    if (!image.isNull() && image.width() != 1 + data[4] % 64)
        std::abort();
    return 0;
}
