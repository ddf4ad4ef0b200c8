#include "shell/ui/cancelprintwindow.h"

#include "core/settings/uitexts.h"

#include <QPushButton>
#include <QVBoxLayout>

TFrmCancelPrint::TFrmCancelPrint(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("TFrmCancelPrint"));
    setWindowTitle(GetUiString(UiKey::MainMenu::Print_Hint));
    m_button = new QPushButton(GetUiString(UiKey::CancelPrint::Cancel_Print), this);
    m_button->setObjectName(QStringLiteral("Cancel_Print"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, [this] {
        m_cancelled = true;
        m_button->setEnabled(false);
    });
}
