#pragma once
// TFrmPickWeftDensTable: the pick-table and weft-density-table (纬密) dialog.
// The pick-table and weft-density-table dialog: a 16 x N grid of needle bits (top row
// entry 15, bottom row entry 0) with the shuttle colour of each entry beside it. It edits
// the shared table in place; OK stores it in the settings, Cancel puts back the table
// the program had when the dialog opened.

#include "card/needletables.h"

#include <QDialog>

#include <functional>

class QSpinBox;
class QTableWidget;
class QPushButton;

class TFrmPickWeftDensTable : public QDialog {
    Q_OBJECT
public:
    // mode 0: pick table; mode 1: weft-density table.
    TFrmPickWeftDensTable(QWidget *owner, int mode);

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
    void reject() override;

private:
    TNeedleMaskTable &Table();
    void ToggleCell(int row, int column);
    void CountChanged(int count);
    void Refill();

    TNeedleTableKind m_kind;
    TNeedleMaskTable m_before; // the shared table and count when the dialog opened
    int m_countBefore = 0;
    int m_count = 16;
};
