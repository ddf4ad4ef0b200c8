#include "shell/ui/linecolorbox.h"

#include "core/palette/palette.h"

#include <QComboBox>
#include <QPixmap>

namespace {
// The sixteen basic colours a line colour is chosen from (TColor: red in the low byte).
const TColor kLineColors[] = { 0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0x808080,
    0xC0C0C0, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF };

void addColor(QComboBox *box, TColor c)
{
    QPixmap swatch(24, 12);
    swatch.fill(ToQColor(c));
    box->addItem(QIcon(swatch), ToQColor(c).name(), int(c));
}
} // namespace

QComboBox *NewLineColorBox(const char *name)
{
    auto *box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    for (TColor c : kLineColors)
        addColor(box, c);
    return box;
}

void SelectLineColor(QComboBox *box, TColor c)
{
    int i = box->findData(int(c));
    if (i < 0) {
        addColor(box, c);
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
}

TColor LineColorOf(const QComboBox *box)
{
    return TColor(box->currentData().toInt());
}
