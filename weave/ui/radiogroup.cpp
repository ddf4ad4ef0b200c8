#include "weave/ui/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TWeaveRadioGroup::TWeaveRadioGroup(const QString &title, const QStringList &items, QWidget *parent)
    : QGroupBox(title, parent)
    , m_group(new QButtonGroup(this))
    , m_layout(new QVBoxLayout(this))
{
    for (const QString &text : items) {
        auto *button = new QRadioButton(text, this);
        m_group->addButton(button, m_group->buttons().size());
        m_layout->addWidget(button);
    }
}

int TWeaveRadioGroup::Count() const
{
    return int(m_group->buttons().size());
}

int TWeaveRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TWeaveRadioGroup::SetItemIndex(int index)
{
    if (QAbstractButton *button = m_group->button(index)) {
        button->setChecked(true);
        return;
    }
    if (QAbstractButton *checked = m_group->checkedButton()) {
        m_group->setExclusive(false);
        checked->setChecked(false);
        m_group->setExclusive(true);
    }
}

QRadioButton *TWeaveRadioGroup::Item(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

void TWeaveRadioGroup::DeleteItem(int index)
{
    QAbstractButton *gone = m_group->button(index);
    if (!gone)
        return;
    const bool wasChosen = gone->isChecked();
    const int chosen = ItemIndex();
    m_group->removeButton(gone);
    delete gone;
    // Renumber the buttons after it.
    const int count = Count() + 1;
    for (int id = index + 1; id < count; ++id)
        m_group->setId(m_group->button(id), id - 1);
    if (wasChosen)
        SetItemIndex(-1);
    else if (chosen > index)
        SetItemIndex(chosen - 1);
}
