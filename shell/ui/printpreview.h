#pragma once
// TFrmPrintPreview: the print preview of one document: one page at a time as it prints,
// stepped with the page keys or the page box, with or without grid lines, or the whole
// pattern fitted to the paper; it prints from here with the print dialog's choices.

#include <QDialog>
#include <QPrinter>

class QCheckBox;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolButton;
class TMDIChild;
class TPrintPattern;

class TFrmPrintPreview : public QDialog {
    Q_OBJECT
public:
    explicit TFrmPrintPreview(TMDIChild &document, QWidget *parent = nullptr);

    TPrintPattern *PrintPattern() const { return m_pattern; }
    // The printer the print options set up and the print button prints on.
    QPrinter &Printer() { return m_printer; }
    // The print button: the page laid out again and the pages chosen in the print options
    // printed, without showing the dialog. False, after telling the user, when it failed.
    bool PrintChosenPages();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool stepPage(int key);
    void showPage(int index);
    void refreshPanels();
    void showPrintOptions();

    TMDIChild &m_document;
    QPrinter m_printer;
    TPrintPattern *m_pattern = nullptr;
    QScrollArea *m_scroll = nullptr;
    QSpinBox *m_pageBox = nullptr;
    QCheckBox *m_lines = nullptr;
    QCheckBox *m_fit = nullptr;
    QLabel *m_countPanel = nullptr;
    QLabel *m_pagePanel = nullptr;
};
