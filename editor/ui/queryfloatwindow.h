#pragma once
// TFrmQueryFloat: the float query (换色提示) window.
// Opens after the picked-weave tool has marked the floats that stay: the user types float
// lengths and OK gives the floats of those lengths the fore colour and the others the back
// colour; closing without OK puts them back. One window at a time: a new float check
// reuses it and first puts back the floats of the check before. It closes when its document
// closes.

#include "editor/floatquery.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TFrmQueryFloat : public QWidget {
    Q_OBJECT
public:
    explicit TFrmQueryFloat(QWidget *parent = nullptr);
    ~TFrmQueryFloat() override;

    // The open window, made (with parent) when none is open, working on the floats of
    // marking in grid; gridOwner's end (the document window) closes it.
    static TFrmQueryFloat *ShowFloats(
        TPatternGrid *grid, QObject *gridOwner, const TFloatMarking &marking, QWidget *parent);
    static TFrmQueryFloat *Current();

    void Start(TPatternGrid *grid, QObject *gridOwner, const TFloatMarking &marking);
    const TFloatQuery &Query() const { return m_query; }

    void SetFloatText(const QString &text);
    void SetRule(TFloatQueryRule rule);
    // OK: closes unless the text cannot be read.
    bool Ok();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    TFloatQuery m_query;
    QPointer<QObject> m_gridOwner;
    QMetaObject::Connection m_ownerGone;
    QLabel *m_label = nullptr;
    QLineEdit *m_float = nullptr;
    QRadioButton *m_atMost = nullptr, *m_equal = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
};
