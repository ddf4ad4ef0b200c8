#include "editor/ui/editgrosswindow.h"

#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/warpweftedit.h"
#include "weave/ui/radiogroup.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmEditGross::TFrmEditGross(TPatternGrid *grid, QObject *owner, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmEditGross"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_showMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    m_mode = new TRadioGroup("RgpMode", 2, this);
    m_content = new TRadioGroup("RgpContent", 2, this);
    m_from = new QSpinBox(this);
    m_from->setObjectName(QStringLiteral("NdtFrom"));
    m_from->setRange(0, MaxPictureSide);
    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("NdtOffSet"));
    m_count->setRange(0, MaxPictureSide);

    auto *layout = new QVBoxLayout(this);
    auto *groups = new QHBoxLayout;
    groups->addWidget(m_mode);
    groups->addWidget(m_content);
    layout->addLayout(groups);
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("From"), m_from);
    form->addRow(QStringLiteral("Value"), m_count);
    layout->addLayout(form);
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("BtnOK"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &TFrmEditGross::Apply);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);

    TModiGrossOption option;
    ReadModiGrossOption(option);
    m_mode->SetItemIndex(option.IsDelete ? 1 : 0);
    m_content->SetItemIndex(option.IsWeft ? 1 : 0);
    m_from->setValue(option.StartPos);
    m_count->setValue(option.OffSet);
    SetGrid(grid, owner);
    suggest();
    connect(m_mode, &TRadioGroup::itemChosen, this, &TFrmEditGross::suggest);
    connect(m_content, &TRadioGroup::itemChosen, this, &TFrmEditGross::suggest);
    ApplyLanguage();
}

void TFrmEditGross::SetGrid(TPatternGrid *grid, QObject *owner)
{
    m_grid = grid;
    m_owner = owner;
    m_hasOwner = owner != nullptr;
}

TPatternGrid *TFrmEditGross::Grid() const
{
    return m_hasOwner && m_owner.isNull() ? nullptr : m_grid;
}

void TFrmEditGross::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::EditPattern::Modify_Pattern_Caption));
    m_mode->SetTexts(GetUiString(UiKey::EditPattern::Modify_Style),
        { GetUiString(UiKey::General::Add), GetUiString(UiKey::General::Del) });
    m_content->SetTexts(GetUiString(UiKey::EditPattern::Modify_Content),
        { GetUiString(UiKey::EditPattern::Warp), GetUiString(UiKey::EditPattern::Weft) });
    if (auto *form = findChild<QFormLayout *>()) {
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(m_from)))
            label->setText(GetUiString(UiKey::EditPattern::From));
        if (auto *label = qobject_cast<QLabel *>(form->labelForField(m_count)))
            label->setText(GetUiString(UiKey::EditPattern::Value));
    }
    if (auto *ok = findChild<QPushButton *>(QStringLiteral("BtnOK")))
        ok->setText(GetUiString(UiKey::General::BtnOK));
    if (auto *cancel = findChild<QPushButton *>(QStringLiteral("BtnCancel")))
        cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

TModiGrossOption TFrmEditGross::Values() const
{
    TModiGrossOption v;
    v.IsDelete = m_mode->ItemIndex() == 1;
    v.IsWeft = m_content->ItemIndex() == 1;
    v.StartPos = m_from->value();
    v.OffSet = m_count->value();
    return v;
}

// The selection's box, right and bottom one past its last cell.
void TFrmEditGross::suggest()
{
    TPatternGrid *grid = Grid();
    if (!grid || grid->SelectionRegion().isEmpty())
        return;
    const QRect r = grid->SelectionRegion().boundingRect();
    TModiGrossOption v = Values();
    SuggestWarpWeftEdit(v, TRect { r.left(), r.top(), r.left() + r.width(), r.top() + r.height() });
    m_from->setValue(v.StartPos);
    m_count->setValue(v.OffSet);
}

void TFrmEditGross::CellClicked(int col, int row)
{
    m_from->setValue(WarpWeftClickStart(Values(), col, row));
}

bool TFrmEditGross::Apply()
{
    TPatternGrid *grid = Grid();
    if (!grid)
        return false;
    const TModiGrossOption v = Values();
    const int oldHeight = grid->RowCount();
    QString error;
    if (!CheckWarpWeftEdit(v, grid->Picture().width(), grid->Picture().height(), &error)) {
        m_showMessage(error);
        return false;
    }
    WriteModiGrossOption(v);
    if (!ApplyWarpWeftEdit(*grid, v, &error)) {
        m_showMessage(error);
        return false;
    }
    Q_EMIT linesChanged(oldHeight);
    close();
    return true;
}

void TFrmEditGross::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
