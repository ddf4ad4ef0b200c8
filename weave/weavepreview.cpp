#include "weave/weavepreview.h"

#include "weave/weavearray.h"

#include <algorithm>

namespace {
constexpr QRgb kLine = qRgb(128, 128, 128);
constexpr QRgb kPoint = qRgb(0, 0, 0);
constexpr QRgb kEmpty = qRgb(255, 255, 255);
} // namespace

int WeavePreviewCellSize(int warps, int wefts)
{
    return std::max(warps, wefts) > 20 ? 3 : 5;
}

QSize WeavePreviewNaturalSize(int warps, int wefts)
{
    if (warps <= 0 || wefts <= 0)
        return {};
    const int cell = WeavePreviewCellSize(warps, wefts);
    return { warps * cell + 1, wefts * cell + 1 };
}

QSize WeavePreviewShownSize(int warps, int wefts)
{
    const QSize natural = WeavePreviewNaturalSize(warps, wefts);
    if (natural.width() > WeavePreviewBox || natural.height() > WeavePreviewBox)
        return { WeavePreviewBox, WeavePreviewBox };
    return natural;
}

QImage WeavePreviewImage(const TWeaveArray &cells, QSize size)
{
    const int warps = WeaveWarps(cells);
    const int wefts = WeaveWefts(cells);
    const QSize natural = WeavePreviewNaturalSize(warps, wefts);
    if (natural.isEmpty() || size.isEmpty())
        return {};
    const int cell = WeavePreviewCellSize(warps, wefts);
    QImage image(size, QImage::Format_RGB32);
    // Each pixel takes the pixel of the natural picture it falls on, so a stretched
    // preview needs no picture of the natural size (which a large weave would make huge).
    for (int y = 0; y < size.height(); ++y) {
        const int ny = int(qint64(y) * natural.height() / size.height());
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const bool rowLine = ny % cell == 0;
        const int weft = std::min(ny / cell, wefts - 1);
        for (int x = 0; x < size.width(); ++x) {
            const int nx = int(qint64(x) * natural.width() / size.width());
            if (rowLine || nx % cell == 0) {
                line[x] = kLine;
                continue;
            }
            const int warp = std::min(nx / cell, warps - 1);
            line[x] = cells[warp][weft] == 1 ? kPoint : kEmpty;
        }
    }
    return image;
}
