#include "weave/ui/radiogroup.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

TRadioGroup::TRadioGroup(const QString &title, const QStringList &items, QWidget *parent)
    : QGroupBox(title, parent)
    , m_group(new QButtonGroup(this))
    , m_layout(new QVBoxLayout(this))
{
    for (const QString &text : items) {
        auto *button = new QRadioButton(text, this);
        m_group->addButton(button, m_group->buttons().size());
        m_layout->addWidget(button);
    }
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::itemChosen);
}

TRadioGroup::TRadioGroup(const char *objectName, int items, QWidget *parent)
    : QGroupBox(parent)
    , m_group(new QButtonGroup(this))
    , m_layout(new QVBoxLayout(this))
{
    setObjectName(QString::fromLatin1(objectName));
    for (int i = 0; i < items; ++i) {
        auto *button = new QRadioButton(this);
        button->setObjectName(objectName + QStringLiteral("Item%1").arg(i));
        m_group->addButton(button, i);
        m_layout->addWidget(button);
    }
    SetItemIndex(0);
    connect(m_group, &QButtonGroup::idClicked, this, &TRadioGroup::itemChosen);
}

int TRadioGroup::Count() const
{
    return int(m_group->buttons().size());
}

int TRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::SetItemIndex(int index)
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

QRadioButton *TRadioGroup::Item(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

void TRadioGroup::DeleteItem(int index)
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

void TRadioGroup::SetTexts(const QString &title, const QStringList &items)
{
    setTitle(title);
    for (int i = 0; i < items.size(); ++i)
        if (QAbstractButton *button = m_group->button(i))
            button->setText(items[i]);
}
