#pragma once
// TRadioGroup: a titled column of exclusive choices read and set by item index, from which
// a caller may remove items before the dialog is shown. The weave dialogs and the editor's
// tool windows share it.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;
class QVBoxLayout;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString &title, const QStringList &items, QWidget *parent = nullptr);
    // items buttons without texts yet, the first chosen; objectName names the group and,
    // with "Item<n>", its buttons.
    TRadioGroup(const char *objectName, int items, QWidget *parent);

    int Count() const;
    // The chosen item, -1 when none is.
    int ItemIndex() const;
    // Chooses an item; an index outside the items chooses none.
    void SetItemIndex(int index);
    QRadioButton *Item(int index) const;
    // Removes an item; the items after it move up one place. When the chosen item goes,
    // none is chosen.
    void DeleteItem(int index);
    // The title and the buttons' texts, in item order.
    void SetTexts(const QString &title, const QStringList &items);

Q_SIGNALS:
    // The user chose an item (not sent by SetItemIndex).
    void itemChosen(int index);

private:
    QButtonGroup *m_group = nullptr;
    QVBoxLayout *m_layout = nullptr;
};
