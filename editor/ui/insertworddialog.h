#pragma once
// TFrmInsertWord: the text tool's dialog (插入文字).
// The line of text to put into the pattern, its font (family, size in points, bold,
// underline, strike-out), the spacing between its characters, its angle in whole degrees
// and where it starts, in pattern cells. The text box shows the text in the chosen font as
// it is typed. The caller fills the dialog (from a text already floating, or with the
// pressed cell) and, on OK, reads the values back.
#include "editor/insertword.h"

#include <QDialog>
#include <QFont>
#include <QString>

class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class TNumricEdit;

class TFrmInsertWord : public QDialog {
    Q_OBJECT
public:
    static constexpr int MaxSize = 999;
    static constexpr int MaxCoordinate = 65535;
    static constexpr int MaxSpacing = 65535;

    explicit TFrmInsertWord(QWidget *parent = nullptr);

    // The sizes the size list offers, in its order.
    static const QStringList &FontSizes();

    void SetValues(const TInsertWordValues &values);
    TInsertWordValues Values() const;
    // The text box's font: family, size and styles as chosen.
    QFont MemoFont() const;
    // The first line of the text as typed, blanks kept.
    QString FirstLine() const;
    // The angle taken within one turn, in radians.
    double AngleRadians() const;
    // False with a message when a value cannot be taken (a font size outside 1 to 999).
    bool CheckValues(QString *error = nullptr) const;

public Q_SLOTS:
    void accept() override;

private:
    void applyFont();

    QComboBox *m_fontName = nullptr;
    QComboBox *m_fontSize = nullptr;
    TNumricEdit *m_spacing = nullptr;
    TNumricEdit *m_angle = nullptr;
    TNumricEdit *m_x = nullptr;
    TNumricEdit *m_y = nullptr;
    QCheckBox *m_bold = nullptr;
    QCheckBox *m_italic = nullptr;
    QCheckBox *m_underline = nullptr;
    QCheckBox *m_strikeOut = nullptr;
    QPlainTextEdit *m_memo = nullptr;
    int m_lastSize = 12;
};

// The text tool's question answered by the dialog, shown modally over parent.
class TInsertWordDialogAsker : public TInsertWordAsker {
public:
    explicit TInsertWordDialogAsker(QWidget *parent)
        : m_parent(parent)
    {
    }
    bool AskInsertWord(TInsertWordValues &values) override;

private:
    QWidget *m_parent = nullptr;
};
