#include "card/ui/cardmakingdialog.h"

#include "card/cardmaking.h"
#include "core/settings/settings.h"
#include "core/settings/uitexts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

TFrmSetYangKa::TFrmSetYangKa(QWidget *owner, int warps)
    : QDialog(owner)
    , m_warps(warps)
{
    setObjectName(QStringLiteral("FrmSetYangKa"));
    setWindowTitle(GetUiString(UiKey::MainMenu::Punch));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    Hooks = new QLabel(GetUiString(UiKey::Set_Pattern::Hooks), this);
    EdtWarps = new QSpinBox(this);
    EdtWarps->setObjectName(QStringLiteral("EdtWarps"));
    EdtWarps->setRange(1, 65535);
    // The count is chosen with the arrows only, so that it is always a number.
    if (auto *edit = EdtWarps->findChild<QLineEdit *>())
        edit->setReadOnly(true);
    EdtWarps->setValue(ReadDefaultWarps());
    grid->addWidget(Hooks, 0, 0);
    grid->addWidget(EdtWarps, 0, 1);
    Direction = new QLabel(GetUiString(UiKey::Set_Pattern::Direction), this);
    TbnUp = new QToolButton(this);
    TbnUp->setObjectName(QStringLiteral("TbnUp"));
    TbnUp->setArrowType(Qt::UpArrow);
    TbnUp->setCheckable(true);
    TbnDown = new QToolButton(this);
    TbnDown->setObjectName(QStringLiteral("TbnDown"));
    TbnDown->setArrowType(Qt::DownArrow);
    TbnDown->setCheckable(true);
    TbnDown->setChecked(true);
    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    group->addButton(TbnUp);
    group->addButton(TbnDown);
    auto *arrows = new QHBoxLayout;
    arrows->addWidget(TbnUp);
    arrows->addWidget(TbnDown);
    arrows->addStretch();
    grid->addWidget(Direction, 1, 0);
    grid->addLayout(arrows, 1, 1);
    layout->addLayout(grid);
    Shift_To_Right = new QCheckBox(GetUiString(UiKey::Set_Pattern::Shift_To_Right), this);
    Shift_To_Right->setObjectName(QStringLiteral("Shift_To_Right"));
    layout->addWidget(Shift_To_Right);
    PanelGuage = new TCardBuildPanel(this);
    PanelGuage->setObjectName(QStringLiteral("PanelGuage"));
    PanelGuage->hide();
    layout->addWidget(PanelGuage);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    BtnOK = new QPushButton(GetUiString(UiKey::General::BtnOK), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnOK->setDefault(true);
    BtnCancel = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    layout->addLayout(buttons);
    connect(BtnOK, &QPushButton::clicked, this, &TFrmSetYangKa::accept);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmSetYangKa::reject);

    ShowMessage = [this](const QString &text, const QString &caption, bool information) {
        QMessageBox box(information ? QMessageBox::Information : QMessageBox::Critical, caption, text,
            QMessageBox::Ok, this);
        box.exec();
    };
}

int TFrmSetYangKa::GetScanStart() const
{
    return TbnUp->isChecked() ? 0 : 2;
}

void TFrmSetYangKa::accept()
{
    if (PanelGuage->Running())
        return;
    // The hook count is checked before anything is kept, so a refused count changes
    // neither the setting nor any card.
    TYangkaImage sampleCard;
    const int hooks = EdtWarps->value();
    if (!OneRowSampleCard(hooks, m_warps, Shift_To_Right->isChecked(), sampleCard)) {
        if (ShowMessage)
            ShowMessage(GetUiMessage(UiKey::String::HooksError), GetUiMessage(UiKey::String::HintMSG), false);
        return;
    }
    WriteDefaultWarps(hooks);
    m_sampleCard.Assign(sampleCard);
    if (!Build) {
        done(ResultOK);
        return;
    }
    PanelGuage->show();
    BtnOK->setEnabled(false);
    const int corner = GetScanStart();
    TCardBuildResult result;
    TMultiByteArray card;
    const bool ok = PanelGuage->Run(
        [this, corner](TMultiByteArray &rows, TCardBuildResult &r, const TCardProgress &progress) {
            return Build(m_sampleCard, corner, rows, r, progress);
        },
        card, result);
    BtnOK->setEnabled(true);
    TCardBuildPanel::Report(result, ok, ShowMessage);
    if (ok) {
        m_card = card;
        done(ResultOK);
    } else {
        done(ResultCancel);
    }
}

void TFrmSetYangKa::reject()
{
    if (PanelGuage->CancelIfRunning())
        return;
    done(ResultCancel);
}

void TFrmSetYangKa::closeEvent(QCloseEvent *event)
{
    if (PanelGuage->CancelIfRunning()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
