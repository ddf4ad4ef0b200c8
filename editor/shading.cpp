#include "editor/shading.h"

#include "core/base/error.h"
#include "core/base/progress.h"
#include "core/settings/uitexts.h"
#include "editor/cellstep.h"
#include "editor/patterngrid.h"

#include <algorithm>

namespace {

bool validParam(const TShadowParam &param, QString *error)
{
    if (param.SatinSize < MinSatinSize || param.SatinSize > MaxSatinSize)
        return Fail(error, GetUiMessage(UiKey::String::ShadowSatinOutOfRange));
    if (param.Step != 3 && param.Step != 5)
        return Fail(error, GetUiMessage(UiKey::String::ShadowStepInvalid));
    return true;
}

} // namespace

int ShadowExtraPoints(const TShadowParam &param, int position, int span)
{
    const int n = param.SatinSize;
    const int band = span > (n - 1) * n ? span / (n - 1) : n;
    const int passed = position / band;
    if (param.Direction == TShadowDirection::WeftToWarp)
        return std::min(passed, n - 2);
    return std::max(0, n - 2 - passed);
}

std::vector<std::vector<bool>> ShadowSatin(const TShadowParam &param, int extraPoints)
{
    const int n = param.SatinSize, d = param.Step;
    std::vector<std::vector<bool>> satin(std::size_t(n), std::vector<bool>(std::size_t(n), false));
    for (int a = 0; a < n; ++a)
        for (int j = 0; j <= extraPoints; ++j) {
            if (param.Method == TShadowMethod::Weft)
                satin[std::size_t(a)][std::size_t((a * d + j) % n)] = true;
            else
                satin[std::size_t((a + j) % n)][std::size_t(a * d % n)] = true;
        }
    return satin;
}

bool ShadowCells(const QImage &picture, const QRegion &selection, const TShadowParam &param,
    TLineArray &cells, QString *error)
{
    if (!validParam(param, error))
        return false;
    cells = {};
    if (picture.isNull() || selection.isEmpty())
        return true;
    const QRect box = selection.boundingRect();
    const int left = box.x(), top = box.y();
    const long long right = (long long)left + box.width(), bottom = (long long)top + box.height();
    const bool alongRows = param.Method == TShadowMethod::Warp;
    const int span = int(alongRows ? bottom - top : right - left);
    const int n = param.SatinSize;
    // One satin per band: k only changes from band to band.
    std::vector<std::vector<std::vector<bool>>> satins(std::size_t(n - 1));
    for (int k = 0; k <= n - 2; ++k)
        satins[std::size_t(k)] = ShadowSatin(param, k);

    const QRegion inside = selection.intersected(QRect(0, 0, picture.width(), picture.height()));
    std::vector<TPoint> found;
    ShowProgressGauge();
    TProgressSteps progress(inside.boundingRect().height());
    const int firstRow = inside.boundingRect().y();
    for (const QRect &r : inside) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            const std::size_t satinRow = std::size_t((bottom - y) % n);
            for (int x = r.left(); x <= r.right(); ++x) {
                const int k = ShadowExtraPoints(param, alongRows ? y - top : x - left, span);
                if (satins[std::size_t(k)][satinRow][std::size_t((x - left) % n)])
                    found.push_back({ x, y });
            }
            progress.step(y - firstRow + 1);
        }
    }
    progress.finish();
    cells = TLineArray(qsizetype(found.size()));
    std::copy(found.begin(), found.end(), cells.begin());
    return true;
}

bool RunShadow(TPatternGrid &grid, const TShadowParam &param, QString *error)
{
    if (grid.SelectionRegion().isEmpty())
        return Fail(error, GetUiMessage(UiKey::String::ShadowNoRegion));
    TLineArray cells;
    if (!ShadowCells(grid.Picture(), grid.SelectionRegion(), param, cells, error))
        return false;
    PaintCellsAsStep(grid, cells, std::uint8_t(grid.ForeIndex()));
    return true;
}
