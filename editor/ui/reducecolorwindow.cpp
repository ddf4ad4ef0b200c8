#include "editor/ui/reducecolorwindow.h"

#include "core/settings/settings.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/colorcellgrid.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int CellSize = 24;
constexpr int UnassignedColumns = 6;

TColorCellGrid *colorGrid(const char *name, QWidget *parent)
{
    auto *grid = new TColorCellGrid(parent);
    grid->setObjectName(QString::fromLatin1(name));
    grid->SetDefaultColWidth(CellSize);
    grid->SetDefaultRowHeight(CellSize);
    return grid;
}

QColor itemColor(const TPaletteItem &item)
{
    return QColor(item.Color.Red, item.Color.Green, item.Color.Blue);
}
} // namespace

TFrmReduceColor::TFrmReduceColor(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmReduceColor"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_ask = [this] {
        return QMessageBox::question(this, GetUiMessage(UiKey::String::ConfigHint),
                   GetUiMessage(UiKey::String::ColorNotAllMapped), QMessageBox::Ok | QMessageBox::Cancel)
            == QMessageBox::Ok;
    };
    m_show = [this](const QString &text) {
        QMessageBox::warning(this, GetUiMessage(UiKey::String::ConfigHint), text);
    };

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(buildModes());
    layout->addWidget(buildHeads());
    layout->addWidget(buildButtons());
    layout->addWidget(buildLower(), 1);
    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("SbrHint"));
    status->setSizeGripEnabled(false);
    m_usedText = new QLabel(status);
    m_hintText = new QLabel(status);
    status->addWidget(m_usedText);
    status->addWidget(m_hintText, 1);
    layout->addWidget(status);

    m_model.SetColorLeft(ReadColorLeft());
    connectModes();
    connectGrids();
    connectMoves();
    ApplyLanguage();
    setExpanded(false);
    refresh();
}

TFrmReduceColor *TFrmReduceColor::CreateWithGrid(TPatternGrid *grid, QObject *gridOwner, QWidget *parent)
{
    auto *window = new TFrmReduceColor(parent);
    window->SetGrid(grid, gridOwner);
    return window;
}

QWidget *TFrmReduceColor::buildModes()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const auto radioPair = [row](QGroupBox *&box, const char *name, QRadioButton *&a, QRadioButton *&b) {
        box = new QGroupBox(row);
        box->setObjectName(QString::fromLatin1(name));
        a = new QRadioButton(box);
        b = new QRadioButton(box);
        auto *inner = new QHBoxLayout(box);
        inner->addWidget(a);
        inner->addWidget(b);
    };
    radioPair(m_reduceBox, "RgpReduceColor", m_reduceAuto, m_reduceManual);
    radioPair(m_combineBox, "RgpCombineStyle", m_combineAuto, m_combineManual);
    m_reduceAuto->setChecked(true);
    m_combineAuto->setChecked(true);

    m_paramBox = new QGroupBox(row);
    auto *params = new QHBoxLayout(m_paramBox);
    m_countLabel = new QLabel(m_paramBox);
    m_colorCount = new QSpinBox(m_paramBox);
    m_colorCount->setObjectName(QStringLiteral("RdtColorCount"));
    m_colorCount->setRange(1, 1);
    m_leftLabel = new QLabel(m_paramBox);
    m_colorLeft = new QSpinBox(m_paramBox);
    m_colorLeft->setObjectName(QStringLiteral("RdtColorLeft"));
    m_colorLeft->setRange(0, TColorReduction::MaxColorLeft);
    params->addWidget(m_countLabel);
    params->addWidget(m_colorCount);
    params->addWidget(m_leftLabel);
    params->addWidget(m_colorLeft);
    layout->addWidget(m_reduceBox);
    layout->addWidget(m_combineBox);
    layout->addWidget(m_paramBox);
    return row;
}

QWidget *TFrmReduceColor::buildHeads()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_headsLabel = new QLabel(row);
    m_heads = colorGrid("GrdSelectedColor", row);
    m_heads->setFixedHeight(CellSize + 2 * m_heads->frameWidth() + 18);
    layout->addWidget(m_headsLabel);
    layout->addWidget(m_heads, 1);
    return row;
}

QPushButton *TFrmReduceColor::button(const char *name, QWidget *parent)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QWidget *TFrmReduceColor::buildButtons()
{
    auto *row = new QWidget(this);
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_ok = button("BtnOk", row);
    m_cancel = button("BtnCancel", row);
    m_expanding = button("BtnExpanding", row);
    layout->addStretch(1);
    layout->addWidget(m_ok);
    layout->addWidget(m_cancel);
    layout->addWidget(m_expanding);
    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    connect(m_expanding, &QPushButton::clicked, this, [this] { setExpanded(!m_expanded); });
    return row;
}

// The groups (head, arrow, members), the move buttons and the unassigned colours.
QWidget *TFrmReduceColor::buildLower()
{
    m_lower = new QWidget(this);
    auto *layout = new QHBoxLayout(m_lower);
    layout->setContentsMargins(0, 0, 0, 0);
    m_groups = colorGrid("GrdCombineColor", m_lower);
    m_unassigned = colorGrid("GrdNoSelectedColor", m_lower);
    auto *buttons = new QVBoxLayout;
    m_moveLeft = button("BbnMoveLeft", m_lower);
    m_moveRight = button("BbnMoveRight", m_lower);
    m_moveAllLeft = button("BbnMoveAllLeft", m_lower);
    m_moveAllRight = button("BbnMoveAllRight", m_lower);
    m_auto = button("Auto", m_lower);
    m_clearAll = button("Clear_All", m_lower);
    m_moveLeft->setText(QStringLiteral("<"));
    m_moveRight->setText(QStringLiteral(">"));
    m_moveAllLeft->setText(QStringLiteral("<<"));
    m_moveAllRight->setText(QStringLiteral(">>"));
    for (QPushButton *b : { m_moveLeft, m_moveRight, m_moveAllLeft, m_moveAllRight, m_auto, m_clearAll })
        buttons->addWidget(b);
    layout->addWidget(m_groups, 3);
    layout->addLayout(buttons);
    layout->addWidget(m_unassigned, 2);
    return m_lower;
}

void TFrmReduceColor::connectModes()
{
    connect(m_reduceManual, &QRadioButton::toggled, this, [this](bool manual) {
        if (m_refreshing)
            return;
        m_model.EnterMode(manual ? TReduceMode::ManualReduce : TReduceMode::Automatic);
        refresh();
    });
    connect(m_combineManual, &QRadioButton::toggled, this, [this](bool manual) {
        if (m_refreshing || m_model.Mode() == TReduceMode::Automatic)
            return;
        m_model.EnterMode(manual ? TReduceMode::ManualCombine : TReduceMode::ManualReduce);
        refresh();
        if (manual)
            Q_EMIT colorPickToolWanted();
    });
    // A number box left empty changes nothing; a value re-enters the mode.
    connect(m_colorCount, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_refreshing && !m_colorCount->text().isEmpty()) {
            m_model.SetColorCount(value);
            refresh();
        }
    });
    connect(m_colorLeft, &QSpinBox::valueChanged, this, [this](int value) {
        if (!m_refreshing && !m_colorLeft->text().isEmpty()) {
            m_model.SetColorLeft(value);
            refresh();
        }
    });
}

void TFrmReduceColor::connectGrids()
{
    m_heads->OnDrawCell
        = [this](TIDrawGrid *, int col, int row, const QRect &rect, unsigned) { drawHead(col, row, rect); };
    m_groups->OnDrawCell
        = [this](TIDrawGrid *, int col, int row, const QRect &rect, unsigned) { drawGroup(col, row, rect); };
    m_unassigned->OnDrawCell = [this](TIDrawGrid *, int col, int row, const QRect &rect, unsigned) {
        drawUnassigned(col, row, rect);
    };
    m_heads->OnSelectCell = [this](TIDrawGrid *, int col, int, bool &) {
        m_model.SetCurGroup(col);
        refresh();
    };
    m_groups->OnSelectCell = [this](TIDrawGrid *, int col, int row, bool &) {
        m_model.SetCurGroup(row);
        if (col >= 2)
            m_model.SetCurMember(col - 2);
        refresh();
    };
    m_unassigned->OnSelectCell = [this](TIDrawGrid *, int col, int row, bool &) {
        m_model.SetCurUnassigned(row * UnassignedColumns + col);
        refresh();
    };
    m_heads->OnDoubleClickCell = [this](int col, int) { moved(m_model.DropHead(col)); };
    m_groups->OnDoubleClickCell = [this](int col, int row) {
        if (col == 0) {
            moved(m_model.DropHead(row));
        } else if (col >= 2) {
            m_model.SetCurGroup(row);
            m_model.SetCurMember(col - 2);
            moved(m_model.MoveLeft());
        }
    };
    m_unassigned->OnDoubleClickCell = [this](int col, int row) {
        m_model.SetCurUnassigned(row * UnassignedColumns + col);
        moved(m_model.MoveRight());
    };
    // A right click on a member or an unassigned colour makes it a head, as a pick does.
    m_groups->OnRightClickCell = [this](int col, int row) {
        if (col >= 2 && row < m_model.Groups().size() && col - 2 < m_model.Groups()[row].size())
            ColorPicked(m_model.Groups()[row][col - 2].Index);
    };
    m_unassigned->OnRightClickCell = [this](int col, int row) {
        const int i = row * UnassignedColumns + col;
        if (i < m_model.Unassigned().size())
            ColorPicked(m_model.Unassigned()[i].Index);
    };
}

void TFrmReduceColor::connectMoves()
{
    connect(m_moveLeft, &QPushButton::clicked, this, [this] { moved(m_model.MoveLeft()); });
    connect(m_moveRight, &QPushButton::clicked, this, [this] { moved(m_model.MoveRight()); });
    connect(m_moveAllLeft, &QPushButton::clicked, this, [this] { moved(m_model.MoveAllLeft()); });
    connect(m_moveAllRight, &QPushButton::clicked, this, [this] { moved(m_model.MoveAllRight()); });
    connect(m_auto, &QPushButton::clicked, this, [this] { moved(m_model.AutoAssign()); });
    connect(m_clearAll, &QPushButton::clicked, this, [this] { moved(m_model.ClearAll()); });
}

void TFrmReduceColor::moved(bool changed)
{
    if (changed)
        refresh();
}

void TFrmReduceColor::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    if (m_gridOwner && m_gridOwner != gridOwner)
        disconnect(m_gridOwner, nullptr, this, nullptr);
    m_gridOwner = gridOwner;
    // The window goes with its document.
    if (gridOwner)
        connect(gridOwner, &QObject::destroyed, this, &QWidget::close, Qt::UniqueConnection);
    m_model.SetGrid(grid);
    refresh();
}

void TFrmReduceColor::ColorPicked(int index)
{
    moved(m_model.PickColor(index));
}

void TFrmReduceColor::SyncPalette()
{
    if (Grid() && !m_model.PaletteCurrent()) {
        m_model.Reload();
        refresh();
    }
}

bool TFrmReduceColor::Ok()
{
    QString message;
    const TReduceApply result = m_model.Apply(m_ask, &message);
    refresh();
    if (!message.isEmpty() && m_show)
        m_show(message);
    return result == TReduceApply::Applied;
}

void TFrmReduceColor::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::ReduceColor::Reduce_Color_Caption));
    m_reduceBox->setTitle(GetUiString(UiKey::ReduceColor::Reduce_Color_Caption));
    m_combineBox->setTitle(GetUiString(UiKey::ReduceColor::Covering_Color));
    m_paramBox->setTitle(GetUiString(UiKey::ReduceColor::Parameter));
    for (QRadioButton *b : { m_reduceAuto, m_combineAuto })
        b->setText(GetUiString(UiKey::ReduceColor::Auto));
    for (QRadioButton *b : { m_reduceManual, m_combineManual })
        b->setText(GetUiString(UiKey::ReduceColor::Manual));
    m_countLabel->setText(GetUiString(UiKey::ReduceColor::Color_Count));
    m_leftLabel->setText(GetUiString(UiKey::ReduceColor::Color_Difference));
    m_headsLabel->setText(GetUiString(UiKey::ReduceColor::Selected_Color));
    m_auto->setText(GetUiString(UiKey::ReduceColor::Auto));
    m_clearAll->setText(GetUiString(UiKey::ReduceColor::Clear_All));
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
    m_expanding->setText(m_expanded ? GetUiString(UiKey::ReduceColor::Truncate)
                                    : GetUiString(UiKey::ReduceColor::BtnExpanding));
    m_hintText->setText(GetUiMessage(UiKey::String::ReduceColorHint));
    refresh();
}

void TFrmReduceColor::setExpanded(bool expanded)
{
    m_expanded = expanded;
    m_lower->setVisible(expanded);
    m_expanding->setText(
        expanded ? GetUiString(UiKey::ReduceColor::Truncate) : GetUiString(UiKey::ReduceColor::BtnExpanding));
    // The two heights are the window's own: the lower grids are hidden, not squeezed.
    setFixedHeight(expanded ? ExpandedHeight : CollapsedHeight);
    resize(std::max(width(), 560), height());
}

// Every control from the model: the boxes, the modes and what they enable, the grids' sizes
// and the status.
void TFrmReduceColor::refresh()
{
    if (!m_colorCount)
        return;
    m_refreshing = true;
    const TReduceMode mode = m_model.Mode();
    m_colorCount->setRange(1, m_model.MaxColorCount());
    m_colorCount->setValue(m_model.ColorCount());
    m_colorLeft->setValue(m_model.ColorLeft());
    m_reduceManual->setChecked(mode == TReduceMode::ManualReduce || mode == TReduceMode::ManualCombine);
    m_reduceAuto->setChecked(!m_reduceManual->isChecked());
    m_combineManual->setChecked(mode == TReduceMode::ManualCombine);
    m_combineAuto->setChecked(!m_combineManual->isChecked());
    m_colorCount->setEnabled(mode == TReduceMode::Automatic);
    m_combineBox->setEnabled(mode == TReduceMode::ManualReduce || mode == TReduceMode::ManualCombine);
    const bool moves = mode == TReduceMode::ManualCombine;
    for (QPushButton *b : { m_moveLeft, m_moveRight, m_moveAllLeft, m_moveAllRight, m_auto, m_clearAll })
        b->setEnabled(moves);
    m_ok->setEnabled(Grid() != nullptr);

    const int groups = m_model.GroupCount();
    m_heads->SetCells(groups, 1);
    m_groups->SetCells(2 + m_model.MaxGroupLen(), groups);
    const int rest = int(m_model.Unassigned().size());
    m_unassigned->SetCells(UnassignedColumns, (rest + UnassignedColumns - 1) / UnassignedColumns);
    for (TColorCellGrid *g : { m_heads, m_groups, m_unassigned })
        g->viewport()->update();
    m_usedText->setText(GetUiMessage(UiKey::String::ColorCount) + QString::number(m_model.UsedCount()));
    m_refreshing = false;
}

void TFrmReduceColor::drawHead(int col, int, const QRect &rect)
{
    QPainter &p = *m_heads->Canvas();
    const bool has = col < m_model.GroupCount();
    const QColor color = has ? itemColor(m_model.Pairs()[col]) : QColor();
    TColorCellGrid::PaintNumberedCell(p, rect, has ? &color : nullptr, col + 1, col == m_model.CurGroup());
}

void TFrmReduceColor::drawGroup(int col, int row, const QRect &rect)
{
    QPainter &p = *m_groups->Canvas();
    if (row >= m_model.GroupCount()) {
        TColorCellGrid::PaintNumberedCell(p, rect, nullptr, 0, false);
        return;
    }
    if (col == 1) { // the arrow from the head to its members
        p.fillRect(rect, Qt::white);
        const int y = rect.center().y();
        p.setPen(QPen(Qt::black, 2));
        p.drawLine(rect.left() + 3, y, rect.right() - 3, y);
        p.drawLine(rect.right() - 3, y, rect.right() - 8, y - 4);
        p.drawLine(rect.right() - 3, y, rect.right() - 8, y + 4);
        return;
    }
    const TOnePaletteArray &members = m_model.Groups()[row];
    const bool head = col == 0;
    const int member = col - 2;
    const bool has = head || member < members.size();
    const QColor color = !has ? QColor()
        : head                ? itemColor(m_model.Pairs()[row])
                              : itemColor(members[member]);
    const bool current = row == m_model.CurGroup() && (head || member == m_model.CurMember());
    TColorCellGrid::PaintNumberedCell(p, rect, has ? &color : nullptr, head ? row + 1 : member + 1, current);
}

void TFrmReduceColor::drawUnassigned(int col, int row, const QRect &rect)
{
    const int i = row * UnassignedColumns + col;
    const TOnePaletteArray &rest = m_model.Unassigned();
    const bool has = i < rest.size();
    const QColor color = has ? itemColor(rest[i]) : QColor();
    TColorCellGrid::PaintNumberedCell(
        *m_unassigned->Canvas(), rect, has ? &color : nullptr, i + 1, i == m_model.CurUnassigned());
}

void TFrmReduceColor::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFrmReduceColor::closeEvent(QCloseEvent *event)
{
    WriteColorLeft(m_colorLeft->value());
    QWidget::closeEvent(event);
}
