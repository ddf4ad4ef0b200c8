#include "core/ui/titlewidth.h"

#include <QFont>
#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

int TitleFitWidth(const QWidget *window)
{
    // Window managers draw the caption in a bold face of about the desktop's size; the
    // icon and the three buttons each take about a square of the title bar's height.
    QFont titleFont = window->font();
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    const int barHeight = metrics.height() + 8;
    return metrics.horizontalAdvance(window->windowTitle()) + 4 * barHeight + 2 * metrics.averageCharWidth();
}

void FitWidthToTitle(QWidget *window)
{
    window->setMinimumWidth(std::max(window->minimumWidth(), TitleFitWidth(window)));
}
