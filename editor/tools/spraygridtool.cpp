#include "editor/tools/spraygridtool.h"

#include "core/base/numutils.h"

#include <QRegion>

#include <cmath>
#include <vector>

void TSprayTool::Press(const TCellEvent &e)
{
    m_center = e.Cell;
    Burst();
    m_grid.SetToolTimer(true);
}

void TSprayTool::Release(const TCellEvent &)
{
    m_grid.SetToolTimer(false);
}

int TSprayTool::randomBelow(int n)
{
    if (n <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, n - 1)(m_random);
}

void TSprayTool::Burst()
{
    QImage &picture = m_grid.Picture();
    if (picture.isNull())
        return;
    std::vector<TPoint> cells;
    const TSprayOption &option = m_grid.SprayOption();
    const int radius = std::max(1, option.Radius);
    const QRegion selectionRegion = m_grid.SelectionRegion();
    const bool selection = !selectionRegion.isEmpty();
    const TColorSet protectedColors = m_grid.ColorSet();
    const auto fore = std::uint8_t(m_grid.ForeIndex());
    for (int i = 0; i < option.PointCount; ++i) {
        const double a = randomBelow(65535) / (65535.0 / 360.0);
        const double r = randomBelow(65535) / (65535.0 / radius);
        const double rad = M_PI * a / 180.0;
        const TPoint p { int(Round(std::cos(rad) * r)) + m_center.X,
            int(Round(std::sin(rad) * r)) + m_center.Y };
        if (!m_grid.InsidePicture(p))
            continue;
        uchar &cell = picture.scanLine(p.Y)[p.X];
        if (protectedColors.test(cell) || (selection && !selectionRegion.contains(QPoint(p.X, p.Y))))
            continue;
        cell = fore;
        cells.push_back(p);
    }
    TLineArray step(qsizetype(cells.size()));
    std::copy(cells.begin(), cells.end(), step.begin());
    m_grid.Repaint();
    m_grid.RecordUndoStep(step);
    m_grid.RebuildReducedView();
    m_grid.NotifyMainWindow();
}
