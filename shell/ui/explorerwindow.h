#pragma once
// TFrmExplorer: the file explorer (浏览) that opens pictures, card files and project files.
// A tool window that stays on top of the main window: a box of the mounted file systems
// (Linux has no drive letters), the folder tree, the file list and a thumbnail list of the
// folder chosen, with a progress bar while the thumbnails are built. A double click on a
// thumbnail or a file opens the file as a document.

#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QListView;
class QProgressBar;
class QStatusBar;
class QTreeView;
class TBrowseAll;

class TFrmExplorer : public QWidget {
    Q_OBJECT
public:
    explicit TFrmExplorer(QWidget *parent = nullptr);
    // Lists a folder: the folder tree, the file list and the thumbnails follow.
    void SetDirectory(const QString &path);
    QString Directory() const;
    // Applies the interface texts.
    void ApplyLanguage();

    TBrowseAll *BrowseImg = nullptr;

Q_SIGNALS:
    // The user opened a file (double click).
    void OpenFile(const QString &fileName);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillDrives();
    QComboBox *m_drives = nullptr;
    QTreeView *m_folderTree = nullptr;
    QListView *m_fileList = nullptr;
    QProgressBar *m_progress = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QFileSystemModel *m_folders = nullptr;
    QFileSystemModel *m_files = nullptr;
    QString m_directory;
};
