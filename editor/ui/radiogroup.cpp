#include "editor/ui/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TToolRadioGroup::TToolRadioGroup(const char *objectName, int items, QWidget *parent)
    : QGroupBox(parent)
    , m_buttons(new QButtonGroup(this))
{
    setObjectName(QString::fromLatin1(objectName));
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < items; ++i) {
        auto *button = new QRadioButton(this);
        button->setObjectName(objectName + QStringLiteral("Item%1").arg(i));
        m_buttons->addButton(button, i);
        layout->addWidget(button);
    }
    SetItemIndex(0);
    connect(m_buttons, &QButtonGroup::idClicked, this, &TToolRadioGroup::itemChosen);
}

int TToolRadioGroup::ItemIndex() const
{
    return m_buttons->checkedId();
}

void TToolRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton *button = m_buttons->button(index))
        button->setChecked(true);
}

void TToolRadioGroup::SetTexts(const QString &title, const QStringList &items)
{
    setTitle(title);
    for (int i = 0; i < items.size(); ++i)
        if (QAbstractButton *button = m_buttons->button(i))
            button->setText(items[i]);
}
