#pragma once
// TFrmSplit: the splitter (拆分纹板) of JC5 card files.
// Splits a JC5 card file into part files (.J01, .J02, ...) of a chosen piece size.

#include <QDialog>

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;

class TFrmSplit : public QDialog {
    Q_OBJECT
public:
    explicit TFrmSplit(QWidget *owner = nullptr);

    QComboBox *ComboBoxSize = nullptr; // "1,457,664" or "1,228,800"
    QLineEdit *FilenameEdit = nullptr;
    QPushButton *BtnBrowse = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;

    // A message (text, caption, kind: 1 warning, 2 error); a message box unless replaced.
    std::function<void(const QString &text, const QString &caption, int kind)> ShowMessage;

    // The piece size of the chosen list item.
    qint64 PieceSize() const;
    // OK: splits the chosen file (a missing file is reported and the dialog stays); the
    // dialog closes after the split, failed or not.
    void BtnOKClick();
};
