#pragma once
// TFrmPickWeftDensTable: the pick-table and weft-density-table (纬密) dialog.
// The pick-table and weft-density-table dialog: a 16 x N grid of needle bits (top row
// entry 15, bottom row entry 0) with the shuttle colour of each entry beside it. It edits
// its own copy of the card tables; OK stores the table in the settings, and the caller
// takes Tables() into the program's tables only then, so Cancel leaves them as they were.

#include "card/needletables.h"
#include "core/settings/sharedstate.h"

#include <QDialog>

#include <functional>

class QSpinBox;
class QTableWidget;
class QPushButton;

class TFrmPickWeftDensTable : public QDialog {
    Q_OBJECT
public:
    // mode 0: pick table; mode 1: weft-density table. The table shown is read from the
    // settings; the needle count is the one tables last kept, or the settings' one.
    TFrmPickWeftDensTable(QWidget *owner, int mode, const TCardTables &tables);

    // The tables with this dialog's edits.
    const TCardTables &Tables() const { return m_tables; }

    // The weave file chosen for "从组织载入"; tests replace it. Returns an empty name when
    // the user cancels.
    std::function<QString()> ChooseWeaveFile;

    QSpinBox *RSEditPickNum = nullptr;
    QTableWidget *DGridPickTable = nullptr;
    QTableWidget *DGridColor = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;
    QPushButton *BtnLoadWeave = nullptr;

    // Loads the table from a weave file; a file that cannot be read leaves the table
    // unchanged and shows why.
    bool LoadFromWeaveFile(const QString &fileName);
    // The needle count N shown (1 to 16).
    int NeedleCount() const { return m_count; }

    void accept() override;

private:
    TNeedleMaskTable &Table();
    std::int32_t &lastCount();
    void ToggleCell(int row, int column);
    void CountChanged(int count);
    void Refill();

    TNeedleTableKind m_kind;
    TCardTables m_tables;
    int m_count = 16;
};
