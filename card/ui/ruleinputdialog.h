#pragma once
// TFrmInput: the rule input (规律输入) of a document's row tables.
// A modeless window that writes shuttle numbers (设置投梭), stop-motion values (设置停撬)
// or weft-density steps (设置纬密) into a range of rows and weft entries from a repeat
// rule. Rows count from 1 at the bottom row of the pattern. It stays open for further
// input; the ranges follow the document each time it is given one.

#include "card/rowrule.h"
#include "core/base/document.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

// What the window works on.
struct TRuleInputTarget {
    TMesh *Mesh = nullptr;
    // The object the record lives as long as (the document window): once it is gone, the
    // window applies nothing.
    QPointer<QObject> Owner;
    std::function<void()> Changed; // called after the row tables changed
};

class TFrmInput : public QWidget {
    Q_OBJECT
public:
    explicit TFrmInput(QWidget *parent = nullptr);

    // The record to fill; the row range is limited to its rows and the entry range to
    // Min(17, WeftRepeat).
    void SetTarget(const TRuleInputTarget &target);

    TRowRuleTarget Target() const;
    void SetTargetTable(TRowRuleTarget table);
    TRowRuleRange Range() const;

    // Applies the rule; false (with the message shown) when it is refused or there is no
    // record any more.
    bool Apply();

    // Shows a refusal; a message box unless replaced (tests).
    std::function<void(const QString &)> ShowMessage;

    QSpinBox *EditStartRow = nullptr; // 起始位置
    QSpinBox *EditEndRow = nullptr; // 结束位置
    QSpinBox *EditStartPick = nullptr; // 起始梭
    QSpinBox *EditEndPick = nullptr; // 结束梭
    QLineEdit *EditRule = nullptr;
    QRadioButton *RbPick = nullptr; // 设置投梭
    QRadioButton *RbRegulator = nullptr; // 设置停撬
    QRadioButton *RbWeftDens = nullptr; // 设置纬密
    QPushButton *BtnApply = nullptr;
    QPushButton *BtnClose = nullptr;

private:
    void limitRanges();

    TRuleInputTarget m_target;
    bool m_guarded = false; // the target came with an owner
};
