#include "shell/ui/splitpicturedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFrmSplitePicture::TFrmSplitePicture(int width, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSplitePicture"));
    setWindowTitle(GetUiString(UiKey::BreakPicture::Split_Picture_Caption));
    m_count = new QSpinBox(this);
    m_count->setObjectName(QStringLiteral("RxSpliteNumber"));
    // Fewer than two parts is no split, and a part needs at least one warp.
    m_count->setRange(2, std::max(2, std::min(99, width)));
    m_count->setValue(2);
    m_count->findChild<QLineEdit *>()->setReadOnly(true);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::BreakPicture::Input_Tear_Open_Picture_Number), m_count);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    QDialogButtonBox *buttons = NewOkCancelButtons(this);
    layout->addWidget(buttons);
    // A pattern of one warp has nothing to split.
    if (QPushButton *ok = buttons->button(QDialogButtonBox::Ok); ok && width < 2)
        ok->setEnabled(false);
}

int TFrmSplitePicture::SpliteNumber() const
{
    return m_count->value();
}

void TFrmSplitePicture::SetSpliteNumber(int count)
{
    m_count->setValue(count);
}
