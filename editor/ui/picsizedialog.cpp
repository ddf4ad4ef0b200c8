#include "editor/ui/picsizedialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "editor/ui/picturesizegroup.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TFrmSetPicSize::TFrmSetPicSize(int width, int height, QWidget *parent)
    : QDialog(parent)
    , m_width(width)
    , m_height(height)
{
    setObjectName(QStringLiteral("TFrmSetPicSize"));
    setWindowTitle(GetUiString(UiKey::Set_Pattern::Set_Pattern_Caption));
    m_showMessage = [this](const QString &text) {
        QMessageBox::critical(this, GetUiMessage(UiKey::String::ErrorCaption), text);
    };
    m_group = new TPicSizeGroup(width, height, true, true, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    auto *buttons = NewOkCancelButtons(this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    layout->addWidget(buttons);
}

bool TFrmSetPicSize::Stretch() const
{
    return m_group->Stretch();
}

void TFrmSetPicSize::accept()
{
    int w = 0, h = 0;
    if (!m_group->BoxSize(w, h)) {
        m_showMessage(GetUiMessage(UiKey::String::InputDateError));
        return;
    }
    if (w == m_group->Rules().StartWidth() && h == m_group->Rules().StartHeight()) {
        reject();
        return;
    }
    QString error;
    if (m_apply && !m_apply(w, h, Stretch(), &error)) {
        m_showMessage(error);
        return;
    }
    m_width = w;
    m_height = h;
    QDialog::accept();
}
