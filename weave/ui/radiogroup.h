#pragma once
// TWeaveRadioGroup: a titled column of exclusive choices read and set by item index, from which
// a caller may remove items before the dialog is shown.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

class TWeaveRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TWeaveRadioGroup(const QString &title, const QStringList &items, QWidget *parent = nullptr);

    int Count() const;
    // The chosen item, -1 when none is.
    int ItemIndex() const;
    // Chooses an item; an index outside the items chooses none.
    void SetItemIndex(int index);
    QRadioButton *Item(int index) const;
    // Removes an item; the items after it move up one place. When the chosen item goes,
    // none is chosen.
    void DeleteItem(int index);

private:
    QButtonGroup *m_group = nullptr;
    QVBoxLayout *m_layout = nullptr;
};
