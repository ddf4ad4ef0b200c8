#include "editor/ui/colorpercentdialog.h"

#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"

#include <QApplication>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmShowColorPercent::TFrmShowColorPercent(const TPatternGrid &grid, QWidget *parent)
    : QDialog(parent)
    , m_palette(grid.Palette())
{
    setObjectName(QStringLiteral("FrmShowColorPercent"));
    setWindowTitle(GetUiString(UiKey::MainMenu::Total_Color_Percent));
    auto *layout = new QVBoxLayout(this);
    m_countLabel = new QLabel(this);
    m_countLabel->setObjectName(QStringLiteral("LabelCount"));
    m_rows = new QTableWidget(0, 4, this);
    m_rows->setObjectName(QStringLiteral("SgdColorInfo"));
    m_rows->setHorizontalHeaderLabels(
        { GetUiMessage(UiKey::String::ColorName), GetUiMessage(UiKey::String::ColorPointIndex),
            GetUiMessage(UiKey::String::PointCount), GetUiMessage(UiKey::String::ColorPercent) });
    m_rows->setColumnWidth(ColName, 70);
    m_rows->verticalHeader()->hide();
    m_rows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto *close = new QPushButton(GetUiString(UiKey::General::BtnClose), this);
    close->setObjectName(QStringLiteral("BtnClose"));
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_rows->horizontalHeader(), &QHeaderView::sectionClicked, this,
        [this](int column) { SortByColumn(column); });
    layout->addWidget(m_countLabel);
    layout->addWidget(m_rows, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_table.Count(grid.Picture());
    QGuiApplication::restoreOverrideCursor();
    m_countLabel->setText(GetUiMessage(UiKey::String::ColorPointCount) + QStringLiteral(": ")
        + QString::number(m_table.Total()));
    fill();
    resize(420, 360);
}

TFrmShowColorPercent *TFrmShowColorPercent::CreateWithChild(const TPatternGrid &grid, QWidget *parent)
{
    auto *dialog = new TFrmShowColorPercent(grid, parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    return dialog;
}

void TFrmShowColorPercent::SortByColumn(int column)
{
    if (column == ColPercent)
        m_table.SortByCount();
    else if (column == ColIndex)
        m_table.SortByIndex();
    else
        return;
    fill();
}

void TFrmShowColorPercent::fill()
{
    const QVector<TColorPercentTable::TRow> &rows = m_table.Rows();
    m_rows->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const TColorPercentTable::TRow &row = rows[r];
        const TPaletteEntry &c = m_palette[row.Index];
        auto *swatch = new QTableWidgetItem;
        swatch->setBackground(QColor(c.Red, c.Green, c.Blue));
        m_rows->setItem(r, ColName, swatch);
        m_rows->setItem(r, ColIndex, new QTableWidgetItem(QString::number(row.Index)));
        m_rows->setItem(r, ColCount, new QTableWidgetItem(TColorPercentTable::CountText(row)));
        m_rows->setItem(r, ColPercent, new QTableWidgetItem(m_table.FractionText(row)));
    }
}

void TFrmShowColorPercent::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
