#pragma once
// TPictureListDialog: what the column interleave (意匠合并) and the picture join (图象合并)
// share: a list of picture files added one by one through the path box or its "..." open
// dialog, deleted with a question each, and a small preview of a picture.
// Every question and message goes through the document questions, so that tests answer
// without a modal loop.

#include <QDialog>
#include <QImage>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QVBoxLayout;
class TDocumentQuestions;

// The 131 x 161 box a picture is previewed in: the picture, scaled smoothly, centred.
class TPictureListPreview : public QWidget {
    Q_OBJECT
public:
    explicit TPictureListPreview(QWidget *parent = nullptr);
    void SetPicture(const QImage &picture);
    // What is drawn (RGB, the preview size) and where; null without a picture.
    const QImage &Shown() const { return m_shown; }
    QRect ShownRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_shown;
};

class TPictureListDialog : public QDialog {
    Q_OBJECT
public:
    explicit TPictureListDialog(TDocumentQuestions &questions, QWidget *parent = nullptr);

    // Adding (the "Add" button): the trimmed path must be given and exist; a path already
    // listed asks whether to add it once more; then the dialog's own check loads it. True
    // when it was added.
    bool AddFile(const QString &path);
    // The "Add" button with the path box's text.
    bool AddTypedFile();
    // Deleting (the "Del" button): each selected item, from the last, after a question.
    void DeleteSelected();
    // Who picks a file for the "..." button (tests); empty: the open-picture dialog.
    void SetFileChooser(std::function<QString()> choose) { m_choose = std::move(choose); }
    QStringList Paths() const;
    TPictureListPreview *Preview() const { return m_preview; }

protected:
    // Loads and checks a file about to be added (messages shown); false refuses it.
    virtual bool takeFile(const QString &path) = 0;
    // The item at row was removed.
    virtual void removedAt(int row) = 0;
    // A click on the item at row.
    virtual void clickedAt(int row) = 0;
    // After an add or a delete.
    virtual void listChanged() { }

    void showError(const QString &text, const QString &caption);
    TDocumentQuestions &questions() const { return m_questions; }
    QListWidget *list() const { return m_list; }
    // Where the dialogs put their own controls, above the buttons.
    QVBoxLayout *extraLayout() const { return m_extra; }
    QPushButton *previewButton() const { return m_previewButton; }
    void applyListTexts();

private:
    void chooseFile();

    TDocumentQuestions &m_questions;
    std::function<QString()> m_choose;
    QListWidget *m_list = nullptr;
    QLineEdit *m_path = nullptr;
    QPushButton *m_browse = nullptr, *m_add = nullptr, *m_del = nullptr, *m_previewButton = nullptr;
    QPushButton *m_ok = nullptr, *m_cancel = nullptr;
    TPictureListPreview *m_preview = nullptr;
    QVBoxLayout *m_extra = nullptr;
};
