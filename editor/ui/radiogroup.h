#pragma once
// TRadioGroup: a titled group of radio buttons, one of which is chosen, by item index.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // items buttons, the first chosen; objectName names the group.
    TRadioGroup(const char *objectName, int items, QWidget *parent);
    int ItemIndex() const;
    void SetItemIndex(int index);
    // The title and the buttons' texts, in item order.
    void SetTexts(const QString &title, const QStringList &items);

Q_SIGNALS:
    void itemChosen(int index);

private:
    QButtonGroup *m_buttons = nullptr;
};
