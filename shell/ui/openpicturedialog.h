#pragma once
// TOpenPictureDialog: the open dialog for pictures, with a preview beside the file list.
// The program's own (non-native) file dialog with a preview area: the picture label with
// the size of the picture under the cursor, the check box "不预览图片" that turns the
// preview off, a button that shows the picture in a window of its own, and the preview
// box, which draws the picture at its own size when it fits and scaled down otherwise.

#include "shell/thumbnails.h"

#include <QFileDialog>
#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

// The preview box: the picture centred, or "(None)" without one.
class TPicturePreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit TPicturePreviewBox(QWidget *parent = nullptr);
    void SetPicture(const QImage &picture);
    const QImage &Picture() const { return m_picture; }
    // Where the picture is drawn (empty without one).
    QRect PictureRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_picture;
};

class TOpenPictureDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit TOpenPictureDialog(QWidget *parent = nullptr);
    // The program's picture filter in its "name|masks|name|masks" form.
    void SetPipeFilter(const QString &filter);
    // The selection moved to fileName: the preview follows.
    void SelectionChanged(const QString &fileName);
    // Shows the picture in a modal window of its own.
    void ShowPreviewWindow();

private:
    QImage m_picture;
    QLabel *m_pictureLabel = nullptr;
    QCheckBox *m_noPreview = nullptr;
    QPushButton *m_previewButton = nullptr;
    QWidget *m_paintPanel = nullptr;
    TPicturePreviewBox *m_paintBox = nullptr;
};

// "name|masks|name|masks" to Qt's name filters ("name (masks)" with blanks for ";").
QStringList PipeFilterToNameFilters(const QString &filter);
