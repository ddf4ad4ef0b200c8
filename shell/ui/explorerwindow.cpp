#include "shell/ui/explorerwindow.h"

#include "core/settings/uitexts.h"
#include "shell/libraryfolders.h"
#include "shell/ui/browseholder.h"
#include "shell/ui/browseview.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListView>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

TFrmExplorer::TFrmExplorer(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmExplorer"));
    m_drives = new QComboBox(this);
    m_drives->setObjectName(QStringLiteral("DriveComboBox"));
    m_folderTree = new QTreeView(this);
    m_fileList = new QListView(this);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 100);
    m_progress->hide();
    m_statusBar = new QStatusBar(this);

    m_folders = new QFileSystemModel(this);
    m_folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folders->setRootPath(QStringLiteral("/"));
    m_folderTree->setModel(m_folders);
    for (int column = 1; column < m_folders->columnCount(); ++column)
        m_folderTree->hideColumn(column);
    m_folderTree->setHeaderHidden(true);

    m_files = new QFileSystemModel(this);
    m_files->setFilter(QDir::Files);
    QStringList masks = BrowseMasks(TBrowseMode::Explorer);
    m_files->setNameFilters(masks);
    m_files->setNameFilterDisables(false);
    m_fileList->setModel(m_files);

    auto *holder = new TBrowseHolder(this);
    BrowseImg = new TBrowseAll(holder);
    holder->Browse = BrowseImg;
    BrowseImg->setObjectName(QStringLiteral("BrowseImg"));
    BrowseImg->SetMode(TBrowseMode::Explorer);
    BrowseImg->SetMargin(12);
    BrowseImg->SetThumbSize(200, 200);
    BrowseImg->SetCaptions(true);

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(m_drives);
    leftLayout->addWidget(m_folderTree, 2);
    leftLayout->addWidget(m_fileList, 1);
    auto *splitter = new QSplitter(this);
    splitter->addWidget(left);
    splitter->addWidget(holder);
    splitter->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_progress);
    layout->addWidget(m_statusBar);
    resize(760, 520);

    fillDrives();
    connect(m_drives, &QComboBox::activated, this,
        [this](int index) { SetDirectory(m_drives->itemData(index).toString()); });
    // The thumbnails follow the folder list, by mouse or keys.
    connect(m_folderTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex &index) { SetDirectory(m_folders->filePath(index)); });
    connect(m_fileList, &QListView::doubleClicked, this,
        [this](const QModelIndex &index) { Q_EMIT OpenFile(m_files->filePath(index)); });
    connect(BrowseImg, &TBrowseImage::OnDblClickEvent, this,
        [this](TDrawImage *source) { Q_EMIT OpenFile(source->FileName()); });
    connect(BrowseImg, &TBrowseImage::OnClickEvent, this,
        [this](TDrawImage *source) { m_statusBar->showMessage(source->FileName()); });
    connect(BrowseImg, &TBrowseImage::OnProcessEvent, this, [this](int percent) {
        m_progress->setVisible(percent < 100);
        m_progress->setValue(percent);
    });
    ApplyLanguage();
}

void TFrmExplorer::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::General::Browse));
}

void TFrmExplorer::fillDrives()
{
    m_drives->clear();
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        m_drives->addItem(volume.rootPath(), volume.rootPath());
    }
}

void TFrmExplorer::SetDirectory(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isDir())
        return;
    const QString directory = QDir::cleanPath(info.absoluteFilePath());
    if (directory == m_directory)
        return;
    m_directory = directory;
    // The drive box shows the file system the folder is on.
    const int drive = m_drives->findData(QStorageInfo(m_directory).rootPath());
    if (drive >= 0)
        m_drives->setCurrentIndex(drive);
    const QModelIndex folder = m_folders->index(m_directory);
    m_folderTree->setCurrentIndex(folder);
    m_folderTree->scrollTo(folder);
    m_fileList->setRootIndex(m_files->setRootPath(m_directory));
    m_statusBar->showMessage(m_directory);
    BrowseImg->SetFolder(m_directory);
    m_progress->hide();
}

QString TFrmExplorer::Directory() const
{
    return m_directory;
}

void TFrmExplorer::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
