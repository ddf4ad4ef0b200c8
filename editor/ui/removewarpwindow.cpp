#include "editor/ui/removewarpwindow.h"

#include "core/settings/settings.h"
#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/ui/toolwindowkeys.h"
#include "editor/patterngrid.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmRemovewarp::TFrmRemovewarp(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmRemovewarp"));
    setAttribute(Qt::WA_DeleteOnClose);
    SetHelpKey(this, THelpContext::RemoveWarp);
    m_showMessage = [this](const QString &text) {
        QMessageBox::warning(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    auto *layout = new QVBoxLayout(this);
    m_odd = new QRadioButton(this);
    m_odd->setObjectName(QStringLiteral("Remove_Odd_Warp_In_Area"));
    m_even = new QRadioButton(this);
    m_even->setObjectName(QStringLiteral("Remove_Even_Warp_In_Area"));
    layout->addWidget(m_odd);
    layout->addWidget(m_even);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] { Ok(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    SetParity(ReadRemoveOddWarp() ? TRemoveWarpParity::Odd : TRemoveWarpParity::Even);
    ApplyLanguage();
}

void TFrmRemovewarp::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::MainMenu::Remove_Warp));
    m_odd->setText(GetUiString(UiKey::RemoveWarp::Remove_Odd_Warp_In_Area));
    m_even->setText(GetUiString(UiKey::RemoveWarp::Remove_Even_Warp_In_Area));
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
}

void TFrmRemovewarp::SetGrid(TPatternGrid *grid, QObject *gridOwner)
{
    m_grid = grid;
    m_gridOwner = gridOwner;
    m_hasOwner = gridOwner != nullptr;
}

TPatternGrid *TFrmRemovewarp::Grid() const
{
    return m_hasOwner && m_gridOwner.isNull() ? nullptr : m_grid;
}

TRemoveWarpParity TFrmRemovewarp::Parity() const
{
    return m_odd->isChecked() ? TRemoveWarpParity::Odd : TRemoveWarpParity::Even;
}

void TFrmRemovewarp::SetParity(TRemoveWarpParity parity)
{
    (parity == TRemoveWarpParity::Odd ? m_odd : m_even)->setChecked(true);
}

bool TFrmRemovewarp::Ok()
{
    TPatternGrid *grid = Grid();
    if (!grid)
        return false;
    QString error;
    if (!RemoveAlternateWarps(*grid, grid->SelectionRegion(), Parity(), &error)) {
        if (!error.isEmpty())
            m_showMessage(error);
        return false;
    }
    Q_EMIT applied();
    return true;
}

void TFrmRemovewarp::closeEvent(QCloseEvent *event)
{
    WriteRemoveOddWarp(Parity() == TRemoveWarpParity::Odd);
    QWidget::closeEvent(event);
}

void TFrmRemovewarp::keyPressEvent(QKeyEvent *event)
{
    if (!HandleToolWindowKey(*this, *m_ok, *event))
        QWidget::keyPressEvent(event);
}

void TFrmRemovewarp::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QWidget::changeEvent(event);
}
