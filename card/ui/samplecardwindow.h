#pragma once
// TFrmYangKa: the sample-card editor (样卡设置).
// Lays out the needles of the loom's harness on a copy of a document's sample card: needle
// kinds drawn as rectangles of cells, lacing and positioning holes by click, a size typed
// in, the start corner, the division rule, and .OVYK files with their recent list. OK
// checks the card against the design (CheckCardForDesign) and keeps the editor open with
// the message while it does not fit; the caller takes Card() and FileName() on OK.

#include "card/samplecard.h"
#include "card/samplecardediting.h"

#include <QDialog>

#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStatusBar;
class QVBoxLayout;
class SampleCardView;

class TFrmYangKa : public QDialog {
    Q_OBJECT
public:
    // card: the document's sample card (copied); designWidth: the pattern's warp count;
    // warpRepeat: the document's needles per design column.
    TFrmYangKa(const TYangkaImage &card, int designWidth, int warpRepeat, QWidget *parent = nullptr);
    ~TFrmYangKa() override;

    // The working card.
    TYangkaImage &Card() { return m_card; }
    SampleCardView *View() const { return ImgYangKa; }

    // The file the card came from or goes to; "Untitled*" while it has none. The window
    // caption names it.
    const QString &FileName() const { return m_fileName; }
    void SetFileName(const QString &fileName);

    // The OK rule without closing: true when the card fits the design (then the card's
    // TiQianSuo takes the check box); otherwise false with the message.
    bool Confirm(QString *error = nullptr);
    // OK: Confirm, or the message box "设置纹针" and the editor stays open.
    void accept() override;

    // The needle kind the mouse sets.
    TNeedleKind NeedleKind() const;
    void SetNeedleKind(TNeedleKind kind);

    // Files. A card that does not load leaves the working card as it was; a failed save
    // leaves the old file. Both show why (through ShowMessage) and add the file to the
    // recent list on success.
    bool OpenCardFile(const QString &fileName);
    bool SaveCardFile(const QString &fileName);
    // Save: to the current file, or like Save As while the card has none.
    bool FileSave();
    bool FileSaveAs();
    bool FileOpen();

    // The typed sizes (Enter in a field): rows and columns together, or the jacquard count.
    void ApplyCustomSize();
    void ApplyJacquardCount();
    // The start corner: 0 top-left, 1 bottom-right.
    void SetStartCorner(int flag);
    // ActDivideData: the division dialog on the working card's rule.
    void DivideData();
    void ZoomBy(int step);

    // The status texts: total, jacquard and empty needles.
    QStringList StatusTexts() const;

    // What a user would be asked: file names (empty = cancelled) and refusals. Dialogs and
    // message boxes unless replaced (tests).
    std::function<QString()> ChooseOpenFile;
    std::function<QString()> ChooseSaveFile;
    std::function<void(const QString &)> ShowMessage;
    // The OK rule's refusal: a message box "设置纹针" with the error icon.
    std::function<void(const QString &)> ShowRefusal;
    // Runs the division dialog; replaced by tests. Returns true on OK with the rule.
    std::function<bool(QString &rule)> RunDivideDialog;

    SampleCardView *ImgYangKa = nullptr;
    QScrollArea *ScrollBox = nullptr;
    QButtonGroup *RgpNeedle = nullptr; // 选取针式
    QRadioButton *RbLeftTop = nullptr; // 左上角
    QRadioButton *RbRightBottom = nullptr; // 右下角
    QCheckBox *CheckBoxTiQianSuo = nullptr; // hidden: mirrors TiQianSuo
    QComboBox *CbxYKStyle = nullptr; // in the hidden group 设置卡号
    QLineEdit *EditRows = nullptr; // 总行数
    QLineEdit *EditCols = nullptr; // 总列数
    QLineEdit *EditJacquard = nullptr; // 提花针数
    QLabel *StatusTotal = nullptr;
    QLabel *StatusJacquard = nullptr;
    QLabel *StatusEmpty = nullptr;
    QMenu *FileMenu = nullptr;

    // Puts the texts of the chosen language on every control; a language switch calls it.
    void ApplyLanguage();

protected:
    void changeEvent(QEvent *event) override;

private:
    // One builder per group of controls.
    void setDefaultQuestions();
    QMenuBar *buildMenus();
    QGroupBox *buildNeedleKinds();
    QGroupBox *buildStartCorner();
    QGroupBox *buildCardStyles();
    QGroupBox *buildSizes();
    void buildButtons(QVBoxLayout *side);
    QStatusBar *buildStatusBar();
    // The controls whose texts ApplyLanguage sets, besides the public ones.
    struct TTextedControls {
        QAction *Open = nullptr, *Save = nullptr, *SaveAs = nullptr, *Divide = nullptr;
        QMenu *EditMenu = nullptr;
        QGroupBox *Kinds = nullptr, *Styles = nullptr;
        QLabel *Rows = nullptr, *Cols = nullptr, *Jacquard = nullptr;
        QPushButton *Ok = nullptr, *Cancel = nullptr;
    };
    TTextedControls m_texts;

    void cellPressed(int col, int row, Qt::MouseButton button);
    void cellDragged(int col, int row);
    void cellReleased(int col, int row, Qt::MouseButton button);
    void cardChanged();
    void textStatus();
    void textStatus(const TNeedleCounts &counts);
    void rebuildRecentMenu(const QString &added);
    void syncControls();
    QString cardFolder() const;

    TYangkaImage m_card;
    int m_designWidth;
    int m_warpRepeat;
    QString m_fileName;
    bool m_dragging = false;
    int m_dragCol = 0, m_dragRow = 0;
    QAction *m_recentAnchor = nullptr;
};
