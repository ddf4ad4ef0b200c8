#include "card/ui/needletabledialog.h"
#include "core/settings/uitexts.h"

#include "core/palette/palette.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "weave/ui/ovwdialog.h"
#include "weave/weavefile.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmPickWeftDensTable::TFrmPickWeftDensTable(QWidget *owner, int mode, const TCardTables &tables)
    : QDialog(owner)
    , m_kind(mode == 1 ? WeftDensTableKind : PickTableKind)
    , m_tables(tables)
{
    const bool pick = m_kind == PickTableKind;
    setWindowTitle(
        GetUiString(pick ? UiKey::NeedleTable::Shuttle_Caption : UiKey::NeedleTable::Weft_Density_Caption));
    m_count = ReadNeedleTable(Table(), NeedleTableSection(m_kind));
    if (lastCount() > 0)
        m_count = lastCount();
    lastCount() = m_count;

    auto *group = new QGroupBox(
        GetUiString(pick ? UiKey::NeedleTable::Shuttle_Group : UiKey::NeedleTable::Weft_Density_Group), this);
    auto *countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(
        GetUiString(pick ? UiKey::NeedleTable::Shuttle_Needles : UiKey::NeedleTable::Weft_Density_Needles),
        group));
    RSEditPickNum = new QSpinBox(group);
    RSEditPickNum->setRange(1, 16);
    RSEditPickNum->setValue(m_count);
    countRow->addWidget(RSEditPickNum);
    countRow->addStretch();

    DGridColor = new QTableWidget(16, 1, group);
    DGridPickTable = new QTableWidget(16, m_count, group);
    for (QTableWidget *grid : { DGridColor, DGridPickTable }) {
        grid->horizontalHeader()->hide();
        grid->verticalHeader()->hide();
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        grid->setSelectionMode(QAbstractItemView::NoSelection);
        grid->verticalHeader()->setDefaultSectionSize(18);
    }
    DGridColor->setFixedWidth(24);
    DGridColor->horizontalHeader()->setDefaultSectionSize(20);
    auto *grids = new QHBoxLayout;
    grids->addWidget(DGridColor);
    grids->addWidget(DGridPickTable, 1);
    auto *groupLayout = new QVBoxLayout(group);
    groupLayout->addLayout(countRow);
    groupLayout->addLayout(grids);

    BtnOK = new QPushButton(GetUiString(UiKey::General::BtnOK), this);
    BtnCancel = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    BtnLoadWeave = new QPushButton(GetUiString(UiKey::NeedleTable::Load_Weave), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(BtnLoadWeave);
    buttons->addStretch();
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);

    ChooseWeaveFile = [this] { return TOvwDialog::GetWeaveFileName(this, Folders().WeaveDir); };
    connect(BtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnLoadWeave, &QPushButton::clicked, this, [this] {
        const QString name = ChooseWeaveFile ? ChooseWeaveFile() : QString();
        if (!name.isEmpty())
            LoadFromWeaveFile(name);
    });
    connect(DGridPickTable, &QTableWidget::cellClicked, this, &TFrmPickWeftDensTable::ToggleCell);
    connect(RSEditPickNum, &QSpinBox::valueChanged, this, &TFrmPickWeftDensTable::CountChanged);
    Refill();
    resize(420, 440);
}

TNeedleMaskTable &TFrmPickWeftDensTable::Table()
{
    return m_kind == PickTableKind ? m_tables.PickTable : m_tables.WeftDensTable;
}

std::int32_t &TFrmPickWeftDensTable::lastCount()
{
    return m_kind == PickTableKind ? m_tables.PickNeedleCount : m_tables.WeftDensNeedleCount;
}

void TFrmPickWeftDensTable::Refill()
{
    DGridPickTable->setColumnCount(m_count);
    for (int r = 0; r < 16; ++r) {
        const std::uint32_t mask = Table()[15 - r];
        for (int j = 0; j < m_count; ++j) {
            auto *item = DGridPickTable->item(r, j);
            if (!item) {
                item = new QTableWidgetItem;
                DGridPickTable->setItem(r, j, item);
            }
            item->setBackground((mask >> j) & 1 ? Qt::black : Qt::white);
        }
        auto *colour = DGridColor->item(r, 0);
        if (!colour) {
            colour = new QTableWidgetItem;
            DGridColor->setItem(r, 0, colour);
        }
        colour->setBackground(ToQColor(m_tables.ColorTable[16 - r]));
    }
    const int width = std::max(DGridPickTable->viewport()->width() / m_count - 1, 8);
    DGridPickTable->horizontalHeader()->setDefaultSectionSize(width);
}

void TFrmPickWeftDensTable::ToggleCell(int row, int column)
{
    if (row < 0 || row > 15 || column < 0 || column >= m_count)
        return;
    Table()[15 - row] ^= 1u << column;
    Refill();
}

void TFrmPickWeftDensTable::CountChanged(int count)
{
    m_count = std::clamp(count, 1, 16);
    lastCount() = m_count;
    ResetNeedleTable(Table(), m_count);
    Refill();
}

bool TFrmPickWeftDensTable::LoadFromWeaveFile(const QString &fileName)
{
    TWeaveArray weave;
    QString error;
    int count = 0;
    TNeedleMaskTable masks = Table();
    if (!LoadWeaveFile(fileName, weave, &error) || !NeedleTableFromWeave(weave, masks, count)) {
        QMessageBox::warning(this, windowTitle(),
            error.isEmpty() ? GetUiMessage(UiKey::String::WeaveEmptyIn).arg(fileName) : error);
        return false;
    }
    Table() = masks;
    m_count = count;
    lastCount() = count;
    {
        const QSignalBlocker block(RSEditPickNum);
        RSEditPickNum->setValue(count);
    }
    Refill();
    return true;
}

void TFrmPickWeftDensTable::accept()
{
    WriteNeedleTable(Table(), m_count, NeedleTableSection(m_kind));
    QDialog::accept();
}
