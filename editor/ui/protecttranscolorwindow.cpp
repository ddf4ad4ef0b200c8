#include "editor/ui/protecttranscolorwindow.h"

#include "core/base/messages.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/colorcellgrid.h"

#include <QAction>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmDispProtATransColor::TFrmDispProtATransColor(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmDispProtATransColor"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QGridLayout(this);
    m_protectButton = new QRadioButton(this);
    m_protectButton->setObjectName(QStringLiteral("RbnProtectColor"));
    m_protectButton->setChecked(true);
    m_transButton = new QRadioButton(this);
    m_transButton->setObjectName(QStringLiteral("RbnTransparentColor"));
    m_protectLabel = new QLabel(this);
    m_transLabel = new QLabel(this);
    m_protectGrid = buildGrid(TColorSetKind::Protected, "GrdProtectColor");
    m_transGrid = buildGrid(TColorSetKind::Transparent, "GrdTransparentColor");
    addMenu(m_protectGrid, TColorSetKind::Protected, "ActRemoveOneProtectColor", "ActRemoveAllProtectColor");
    addMenu(m_transGrid, TColorSetKind::Transparent, "ActRemoveOneTransparentColor",
        "ActRemoveAllTransparentColor");
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("BtnClose"));
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    layout->addWidget(m_protectButton, 0, 0);
    layout->addWidget(m_protectLabel, 0, 1);
    layout->addWidget(m_protectGrid, 1, 0, 1, 3);
    layout->addWidget(m_transButton, 2, 0);
    layout->addWidget(m_transLabel, 2, 1);
    layout->addWidget(m_transGrid, 3, 0, 1, 3);
    layout->addWidget(m_close, 4, 2, Qt::AlignRight);
    layout->setColumnStretch(2, 1);

    connect(m_protectButton, &QRadioButton::clicked, this, [this] { Choose(TColorSetKind::Protected); });
    connect(m_transButton, &QRadioButton::clicked, this, [this] { Choose(TColorSetKind::Transparent); });
    m_protectLabel->installEventFilter(this);
    m_transLabel->installEventFilter(this);
    ApplyLanguage();
    Choose(TColorSetKind::Protected);
}

TFrmDispProtATransColor *TFrmDispProtATransColor::CreateWithGrid(
    TPatternGrid *grid, QObject *gridOwner, QWidget *parent)
{
    auto *window = new TFrmDispProtATransColor(parent);
    window->SetGrid(grid, gridOwner);
    return window;
}

TColorCellGrid *TFrmDispProtATransColor::buildGrid(TColorSetKind kind, const char *name)
{
    auto *grid = new TColorCellGrid(this);
    grid->setObjectName(QString::fromLatin1(name));
    grid->SetGridLineWidth(0);
    grid->SetDefaultColWidth(CellSize);
    grid->SetDefaultRowHeight(CellSize);
    grid->SetCells(ColorSetGridColumns, ColorSetGridRows);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFixedSize(ColorSetGridColumns * CellSize + 2 * grid->frameWidth(),
        ColorSetGridRows * CellSize + 2 * grid->frameWidth());
    grid->OnDrawCell = [this, kind](TIDrawGrid *, int col, int row, const QRect &rect, unsigned) {
        drawCell(kind, col, row, rect);
    };
    grid->OnSelectCell = [this, kind](TIDrawGrid *, int col, int row, bool &) {
        ClickEntry(kind, ColorSetEntryAt(col, row));
    };
    return grid;
}

void TFrmDispProtATransColor::addMenu(
    TColorCellGrid *grid, TColorSetKind kind, const char *one, const char *all)
{
    auto *removeOne = new QAction(grid);
    removeOne->setObjectName(QString::fromLatin1(one));
    auto *removeAll = new QAction(grid);
    removeAll->setObjectName(QString::fromLatin1(all));
    connect(removeOne, &QAction::triggered, this, [this, kind] { RemoveCurrent(kind); });
    connect(removeAll, &QAction::triggered, this, [this, kind] { RemoveAll(kind); });
    grid->addAction(removeOne);
    grid->addAction(removeAll);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    (kind == TColorSetKind::Protected ? m_removeOneProtect : m_removeOneTrans) = removeOne;
    (kind == TColorSetKind::Protected ? m_removeAllProtect : m_removeAllTrans) = removeAll;
}

void TFrmDispProtATransColor::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    if (m_gridOwner && m_gridOwner != gridOwner)
        disconnect(m_gridOwner, nullptr, this, nullptr);
    m_gridOwner = gridOwner;
    if (gridOwner)
        connect(gridOwner, &QObject::destroyed, this, &QWidget::close, Qt::UniqueConnection);
    m_model.SetGrid(grid);
    repaintGrids();
}

void TFrmDispProtATransColor::Choose(TColorSetKind kind)
{
    m_chosen = kind;
    const bool protect = kind == TColorSetKind::Protected;
    m_protectButton->setChecked(protect);
    m_transButton->setChecked(!protect);
}

void TFrmDispProtATransColor::ColorPicked()
{
    if (Grid() && m_model.Add(m_chosen, Grid()->TextIndex()))
        changed();
}

void TFrmDispProtATransColor::SyncPalette()
{
    m_model.Rebuild();
    repaintGrids();
}

void TFrmDispProtATransColor::ClickEntry(TColorSetKind kind, int entry)
{
    Choose(kind);
    if (!m_model.SetCurrent(kind, entry))
        return;
    repaintGrids();
    Q_EMIT currentColorChosen(m_model.List(kind)[entry].Index);
}

void TFrmDispProtATransColor::RemoveCurrent(TColorSetKind kind)
{
    if (m_model.RemoveCurrent(kind))
        changed();
}

void TFrmDispProtATransColor::RemoveAll(TColorSetKind kind)
{
    if (m_model.RemoveAll(kind))
        changed();
}

// The palette bar takes the grid's sets again, and the window its lists.
void TFrmDispProtATransColor::changed()
{
    SendPaletteFromChild();
    m_model.Rebuild();
    repaintGrids();
}

void TFrmDispProtATransColor::repaintGrids()
{
    m_protectGrid->viewport()->update();
    m_transGrid->viewport()->update();
}

void TFrmDispProtATransColor::drawCell(TColorSetKind kind, int col, int row, const QRect &rect)
{
    QPainter &p = *(kind == TColorSetKind::Protected ? m_protectGrid : m_transGrid)->Canvas();
    const TOnePaletteArray &list = m_model.List(kind);
    const int entry = ColorSetEntryAt(col, row);
    if (entry >= list.size()) {
        p.fillRect(rect, Qt::white);
        return;
    }
    const TPaletteEntry &c = list[entry].Color;
    p.fillRect(rect, QColor(c.Red, c.Green, c.Blue));
    if (entry == m_model.Current(kind)) {
        p.setBrush(Qt::NoBrush);
        p.setPen(Qt::white);
        p.drawRect(rect.adjusted(0, 0, -1, -1));
        p.setPen(Qt::black);
        p.drawRect(rect.adjusted(1, 1, -2, -2));
    }
}

void TFrmDispProtATransColor::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::ProtectTransparentColor::Display_Protect_And_Transparent_Color));
    m_protectLabel->setText(GetUiString(UiKey::ProtectTransparentColor::Protect_Color));
    m_transLabel->setText(GetUiString(UiKey::ProtectTransparentColor::Transparent_Color));
    m_removeOneProtect->setText(GetUiString(UiKey::ProtectTransparentColor::Delete_Selected_Protect_Color));
    m_removeAllProtect->setText(GetUiString(UiKey::ProtectTransparentColor::Delete_All_Protect_Color));
    m_removeOneTrans->setText(GetUiString(UiKey::ProtectTransparentColor::Delete_Selected_Transparent_Color));
    m_removeAllTrans->setText(GetUiString(UiKey::ProtectTransparentColor::Delete_All_Transparent_Color));
    m_close->setText(GetUiString(UiKey::General::BtnClose));
}

bool TFrmDispProtATransColor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == m_protectLabel)
            Choose(TColorSetKind::Protected);
        else if (watched == m_transLabel)
            Choose(TColorSetKind::Transparent);
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmDispProtATransColor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
