#include "weave/ui/swapparamdialog.h"

#include "core/settings/uitexts.h"
#include "core/ui/okcancelbuttons.h"
#include "weave/ui/captionwidth.h"
#include "weave/weavedialogrules.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QVBoxLayout>

TFrmSwapParam::TFrmSwapParam(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(GetUiString(UiKey::WeaveSwap::Caption));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit1->installEventFilter(this);
    Edit2->installEventFilter(this);
    auto *form = new QFormLayout;
    form->addRow(GetUiString(UiKey::WeaveSwap::Source), Edit1);
    form->addRow(GetUiString(UiKey::WeaveSwap::Target), Edit2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(NewOkCancelButtons(this));
    WidenForCaption(this);
}

// Enter is taken before the dialog's default button sees it.
bool TFrmSwapParam::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Edit1)
                Edit2->setFocus();
            else if (watched == Edit2)
                accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Blank boxes, a first line 0 or text that is not a whole number keep the dialog open.
void TFrmSwapParam::accept()
{
    if (!ReadSwapLines(Edit1->text(), Edit2->text(), m_first, m_second))
        return;
    QDialog::accept();
}
