#pragma once
// TToolRadioGroup: a titled group of radio buttons, one of which is chosen, by item index.
// Named apart from the weave dialogs' radio group, which lives in the same program.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

class TToolRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // items buttons, the first chosen; objectName names the group.
    TToolRadioGroup(const char *objectName, int items, QWidget *parent);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The title and the buttons' texts, in item order.
    void SetTexts(const QString &title, const QStringList &items);

Q_SIGNALS:
    void itemChosen(int index);

private:
    QButtonGroup *m_buttons = nullptr;
};
