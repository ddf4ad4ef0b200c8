#pragma once
// TBrowseImage, TBrowseAll, TDrawImage: the thumbnail lists of the library browsers and
// the file explorer.
// TBrowseImage keeps the folder, the files found in it by the mode's masks, one thumbnail
// (TDrawImage) per readable file, the selection and the events; TBrowseAll lays the
// thumbnails out in as many columns as the width holds, with a vertical scroll bar. Every
// browser of the program is a TBrowseAll.

#include "shell/browselayout.h"
#include "shell/libraryfolders.h"
#include "shell/thumbnails.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <QWidget>

class QScrollBar;
class TDocumentQuestions;

// One thumbnail: a picture of thumbnail width + 2 by thumbnail height + 2 pixels with a
// raised border, the file's picture framed inside it and, in the explorer, a caption.
class TDrawImage : public QWidget {
    Q_OBJECT
public:
    TDrawImage(const QString &fileName, const TThumbnail &thumbnail, QWidget *parent);
    const QString &FileName() const { return m_fileName; }
    const TThumbnail &Thumbnail() const { return m_thumbnail; }
    QString Text() const { return m_thumbnail.Text; }
    // The frame around the picture, one pixel outside it.
    QRect PictureFrame() const { return m_frame; }
    bool IsSelected() const { return m_selected; }
    // Draws the thumbnail (size, margin, caption band) in the selected or unselected colours.
    void Draw(QSize size, int margin, bool captions, bool selected);
    const QImage &Image() const { return m_image; }

Q_SIGNALS:
    void Clicked(TDrawImage *source);
    void DoubleClicked(TDrawImage *source);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    QString m_fileName;
    TThumbnail m_thumbnail;
    QImage m_image;
    QRect m_frame;
    bool m_selected = false;
};

class TBrowseImage : public QWidget {
    Q_OBJECT
public:
    explicit TBrowseImage(QWidget *parent = nullptr);
    ~TBrowseImage() override;

    void SetMode(TBrowseMode mode) { m_mode = mode; }
    TBrowseMode Mode() const { return m_mode; }
    // Thumbnails are square in every use; the scroll bar steps one thumbnail.
    void SetThumbSize(int width, int height);
    void SetMargin(int margin) { m_layout.Margin = margin; }
    void SetCaptions(bool captions) { m_captions = captions; }
    const TBrowseLayout &Layout() const { return m_layout; }

    // The library root: kept, and its subfolders listed by name, when it differs from the
    // root kept; it becomes the folder relative names resolve from.
    void SetRootFolder(const QString &path);
    const QString &RootFolder() const { return m_rootFolder; }
    const QStringList &SubFolders() const { return m_subFolders; }
    // Shows the files of a folder (one trailing "/" ignored) when it differs from the
    // folder shown: every thumbnail is built again; a folder that does not exist shows an
    // empty list.
    void SetFolder(const QString &path);
    const QString &Folder() const { return m_folder; }
    // The files listed (full paths): only those whose thumbnail could be built.
    const QStringList &Files() const { return m_files; }
    const QList<TDrawImage *> &Thumbnails() const { return m_thumbnails; }

    // A file of the folder shown: a new file makes the folder be listed again; a listed one
    // is drawn again and becomes the selected one. A file elsewhere changes nothing.
    void ShowFile(const QString &fileName);
    // No thumbnail selected any more.
    void ClearSelection();
    // Selects a thumbnail as a click does (and raises OnClickEvent).
    void SelectThumbnail(TDrawImage *thumbnail);
    TDrawImage *Selected() const { return m_selected; }
    QString SelectedFile() const;
    // Asks (OK/Cancel) and deletes the selected file; nothing without a selection.
    void DeleteSelectedFile(TDocumentQuestions &questions);
    // Deletes the listed files and, when nothing else is left in it, the folder shown;
    // the browser then shows nothing. Fails with a message, deleting nothing, when the
    // folder does not exist any more.
    bool DeleteFolder(QString *error = nullptr);
    // Takes the parent's whole client area.
    void FitToParent();

    QScrollBar *ScrollBar() const { return m_scrollBar; }
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }

Q_SIGNALS:
    void OnClickEvent(TDrawImage *source);
    void OnDblClickEvent(TDrawImage *source);
    void OnProcessEvent(int percent);

protected:
    void resizeEvent(QResizeEvent *event) override;
    // The wheel anywhere over the thumbnails moves the scroll bar.
    void wheelEvent(QWheelEvent *event) override;
    // Places the thumbnails at the scroll bar's position.
    virtual void layoutThumbnails() = 0;
    // Columns, rows and the scroll bar's range from the number of files.
    virtual void recount() = 0;
    void clearThumbnails();
    void buildThumbnails();

    TBrowseLayout m_layout;
    TBrowseMode m_mode = TBrowseMode::Weaves;
    bool m_captions = false;
    QScrollBar *m_scrollBar = nullptr;
    QString m_rootFolder;
    QStringList m_subFolders;
    QString m_folder;
    QStringList m_files;
    QList<TDrawImage *> m_thumbnails;
    TDrawImage *m_selected = nullptr;
    int m_wanted = 0;
    int m_columns = 1;
    int m_rows = 1;
};

class TBrowseAll : public TBrowseImage {
    Q_OBJECT
public:
    explicit TBrowseAll(QWidget *parent = nullptr);

protected:
    void layoutThumbnails() override;
    void recount() override;
};
