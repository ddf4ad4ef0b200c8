#include "editor/ui/cursorsizedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "core/ui/titlewidth.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

TFrmSetCursorSize::TFrmSetCursorSize(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSetCursorSize"));
    setWindowTitle(GetUiString(UiKey::MainMenu::Set_Cursor_Size));
    const auto radio = [this](const char *name, const QString &text) {
        auto *button = new QRadioButton(text, this);
        button->setObjectName(QLatin1String(name));
        return button;
    };
    m_hide = radio("Hide_Cursor", GetUiString(UiKey::SetCursorSize::Hide_Cursor));
    m_large = radio("Display_Large_Cursor", GetUiString(UiKey::SetCursorSize::Display_Large_Cursor));
    m_small = radio("Display_Small_Cursor", GetUiString(UiKey::SetCursorSize::Display_Small_Cursor));
    m_hide->setChecked(true);
    m_size = new QSpinBox(this);
    m_size->setObjectName(QStringLiteral("RdtSize"));
    m_size->setRange(1, MaxCursorSize);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::SetCursorSize::Cursor_Size), m_size);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_hide);
    layout->addWidget(m_large);
    layout->addWidget(m_small);
    layout->addLayout(form);
    layout->addWidget(NewOkCancelButtons(this));
    TCursorStyleOption option;
    ReadCursorStyle(option);
    SetValues(option);
    FitWidthToTitle(this);
}

void TFrmSetCursorSize::SetValues(const TCursorStyleOption &option)
{
    if (option.LargeCursor && !option.NoCursor)
        m_large->setChecked(true);
    else if (option.SmallCursor && !option.NoCursor)
        m_small->setChecked(true);
    else
        m_hide->setChecked(true);
    m_size->setValue(std::clamp(option.CursorSize, 1, MaxCursorSize));
}

TCursorStyleOption TFrmSetCursorSize::Values() const
{
    TCursorStyleOption option;
    option.NoCursor = m_hide->isChecked();
    option.LargeCursor = m_large->isChecked();
    option.SmallCursor = m_small->isChecked();
    option.CursorSize = m_size->value();
    return option;
}

void TFrmSetCursorSize::accept()
{
    WriteCursorStyle(Values());
    QDialog::accept();
}
