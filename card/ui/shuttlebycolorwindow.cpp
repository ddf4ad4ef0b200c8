#include "card/ui/shuttlebycolorwindow.h"
#include "core/settings/uitexts.h"

#include "card/needletables.h"
#include "core/palette/palette.h"
#include "core/settings/sharedstate.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

void Paint(QLabel *swatch, const QColor &colour)
{
    swatch->setStyleSheet(colour.isValid()
            ? QStringLiteral("background-color: %1; border: 1px solid black;").arg(colour.name())
            : QStringLiteral("border: 1px solid black;"));
}

} // namespace

TFrmSetPickWithColor::TFrmSetPickWithColor(QWidget *parent)
    : QWidget(parent, Qt::Tool)
{
    SGridPickNum = new QTableWidget(1, 16, this);
    SGridPickNum->horizontalHeader()->hide();
    SGridPickNum->verticalHeader()->hide();
    SGridPickNum->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGridPickNum->setSelectionMode(QAbstractItemView::SingleSelection);
    SGridPickNum->horizontalHeader()->setDefaultSectionSize(24);
    SGridPickNum->setFixedHeight(SGridPickNum->rowHeight(0) + 4);
    for (int i = 0; i < 16; ++i) {
        auto *item = new QTableWidgetItem(QString::number(i + 1));
        item->setTextAlignment(Qt::AlignCenter);
        SGridPickNum->setItem(0, i, item);
    }
    ShuttleSwatch = new QLabel(this);
    PickedSwatch = new QLabel(this);
    for (QLabel *s : { ShuttleSwatch, PickedSwatch })
        s->setFixedSize(32, 20);
    BtnApply = new QPushButton(GetUiString(UiKey::RuleInput::Apply), this);
    BtnClose = new QPushButton(GetUiString(UiKey::General::BtnClose), this);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(GetUiString(UiKey::NeedleTable::Shuttle_Number), this));
    top->addWidget(SGridPickNum, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(ShuttleSwatch);
    bottom->addWidget(PickedSwatch);
    bottom->addStretch();
    bottom->addWidget(BtnApply);
    bottom->addWidget(BtnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);

    connect(BtnApply, &QPushButton::clicked, this, &TFrmSetPickWithColor::Apply);
    connect(BtnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(SGridPickNum, &QTableWidget::currentCellChanged, this, [this] { UpdateView(); });
    SetEntry(0);
    UpdateView();
}

void TFrmSetPickWithColor::SetTarget(const TPickWithColorTarget &target)
{
    m_target = target;
    UpdateView();
}

int TFrmSetPickWithColor::Entry() const
{
    return std::clamp(SGridPickNum->currentColumn(), 0, 15);
}

void TFrmSetPickWithColor::SetEntry(int entry)
{
    SGridPickNum->setCurrentCell(0, std::clamp(entry, 0, 15));
}

void TFrmSetPickWithColor::UpdateView()
{
    setWindowTitle(GetUiString(
        m_target.WeftDensMode ? UiKey::RuleInput::Set_Weft_Density : UiKey::RuleInput::Set_Shuttle));
    // Shuttle number n is shown in colour n (0: no shuttle); a number past the colour list
    // has no colour.
    const int v = m_target.Value;
    if (v >= 0 && v < int(CardTables().ColorTable.size())) {
        const TColor c = CardTables().ColorTable[std::size_t(v)];
        Paint(ShuttleSwatch, ToQColor(c));
    } else {
        Paint(ShuttleSwatch, QColor());
    }
    Paint(PickedSwatch, m_target.PickedIndex >= 0 ? m_target.PickedColor : QColor());
}

bool TFrmSetPickWithColor::Apply()
{
    // Without a picked colour there is nothing to apply.
    if (!m_target.Mesh || !m_target.Picture || m_target.PickedIndex < 0)
        return false;
    QString error;
    if (!ApplyValueByColour(*m_target.Mesh, *m_target.Picture, m_target.PickedIndex, Entry(), m_target.Value,
            m_target.WeftDensMode, &error)) {
        QMessageBox::warning(this, windowTitle(), error);
        return false;
    }
    if (m_target.Changed)
        m_target.Changed();
    return true;
}
