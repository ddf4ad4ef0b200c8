#pragma once
// TPicSizeGroup: the size boxes of the pattern-size and grid-settings dialogs (意匠大小).
// Width and height, the kept ratio, the percentage and whether the picture is stretched;
// the boxes follow each other by TPicSizeRules.

#include "editor/picturesizerules.h"

#include <QGroupBox>

class QCheckBox;
class QLineEdit;

class TPicSizeGroup : public QGroupBox {
    Q_OBJECT
public:
    // keepRatio and stretch: whether those boxes start ticked.
    TPicSizeGroup(int width, int height, bool keepRatio, bool stretch, QWidget *parent = nullptr);

    void ApplyLanguage();
    const TPicSizeRules &Rules() const { return m_rules; }
    // The two boxes as they stand; false when one is empty or 0.
    bool BoxSize(int &width, int &height) const;
    bool Stretch() const;

private:
    void show();

    TPicSizeRules m_rules;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
    QCheckBox *m_keepRatio = nullptr;
    QCheckBox *m_percent = nullptr;
    QLineEdit *m_percentBox = nullptr;
    QCheckBox *m_stretch = nullptr;
};
