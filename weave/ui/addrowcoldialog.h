#pragma once
// TFrmAddDelRowCol: adding or deleting rows or columns (添加/删除行(列)) of a weave.
// Rows are numbered from 1 at the bottom, columns from 1 at the left. Given the design
// window's weave, OK also checks the start and count against its size.

#include "weave/weavedialogrules.h"

#include <QDialog>

class TNumricEdit;
class TWeaveRadioGroup;

class TFrmAddDelRowCol : public QDialog {
    Q_OBJECT
public:
    // weave: the design window's weave, or null when there is none.
    explicit TFrmAddDelRowCol(const TWeave *weave = nullptr, QWidget *parent = nullptr);

    // Valid after OK.
    TRowColEdit Edit() const { return m_edit; }
    int Start() const { return m_start; }
    int Count() const { return m_count; }

    void accept() override;

    TWeaveRadioGroup *RadGrpAddDel = nullptr; // 行列编辑
    TNumricEdit *EdtStart = nullptr; // 起始行(列)
    TNumricEdit *EdtNum = nullptr; // 行数(列数)

private:
    const TWeave *m_weave = nullptr;
    TRowColEdit m_edit = RowsAdd;
    int m_start = 0;
    int m_count = 0;
};
