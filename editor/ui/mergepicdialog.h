#pragma once
// TFrmMergePic: the repeat-layout dialog (回位模式).
// Lays out a repeat from one unit: the document's picture, or the top-left unit of a
// picture that already has a layout. The style (plain, rows stepped, columns stepped), the
// offset (a ratio of the unit or cells), the counts across and down and the flips of the
// repeats, set by clicking their direction glyphs on the preview. OK with 1 x 1 counts
// ends as cancelled; otherwise the layout is composed (a result larger than a pattern is
// refused, the dialog left open) and the caller takes it.

#include "core/base/gridrecords.h"
#include "editor/repeatcomposer.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;

class TFrmMergePic : public QDialog {
    Q_OBJECT
public:
    TFrmMergePic(const QImage &picture, const TRepeatPic &layout, QWidget *parent = nullptr);

    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }
    void ApplyLanguage();
    const TMergePic &Composer() const { return m_composer; }
    // After OK: the composed picture (taken once) and its layout.
    QImage TakeResult() { return m_composer.TakeResult(); }
    TRepeatPic ResultLayout() const;
    bool CreateNewPicture() const;
    // The preview as drawn, and a click on it at p (preview pixels).
    const QImage &PreviewImage() const { return m_preview; }
    void ClickPreview(QPoint p);

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void styleChosen(int style);
    void ratioChosen();
    void pixelsTyped(const QString &text);
    void countsTyped();
    void applyOffset(int offset);
    void showSizes();
    void drawPreview();
    QWidget *stylePanel(int style);

    TMergePic m_composer;
    bool m_starting = true; // control changes are ignored until the dialog is made
    QRadioButton *m_styles[3] {};
    QWidget *m_panels[3] {};
    QGroupBox *m_offsetGroup = nullptr;
    QComboBox *m_ratio = nullptr;
    QLineEdit *m_pixels = nullptr;
    QLineEdit *m_across = nullptr;
    QLineEdit *m_down = nullptr;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
    QLabel *m_image = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *m_info = nullptr;
    QCheckBox *m_createNew = nullptr;
    QImage m_preview;
    std::function<void(const QString &)> m_showMessage;
};
