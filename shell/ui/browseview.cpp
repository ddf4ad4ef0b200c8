#include "shell/ui/browseview.h"

#include "core/base/numutils.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "shell/documentquestions.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
const QColor kSelectedGround(0, 0, 128);

QString withoutTrailingSlash(QString path)
{
    if (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

QString withSlash(const QString &path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}
} // namespace

// ---- TDrawImage -----------------------------------------------------------------------

TDrawImage::TDrawImage(const QString &fileName, const TThumbnail &thumbnail, QWidget *parent)
    : QWidget(parent)
    , m_fileName(fileName)
    , m_thumbnail(thumbnail)
{
    setToolTip(thumbnail.Hint);
}

void TDrawImage::Draw(QSize size, int margin, bool captions, bool selected)
{
    m_selected = selected;
    const QSize imageSize = size + QSize(2, 2);
    m_image = QImage(imageSize, QImage::Format_RGB32);
    const QColor face = QApplication::palette().color(QPalette::Button);
    m_image.fill(face);
    QPainter p(&m_image);
    const int captionHeight = captions ? QFontMetrics(font()).height() : 0;
    const int w = imageSize.width(), h = imageSize.height();
    // The raised border.
    p.setPen(Qt::white);
    p.drawLine(0, 0, w - 1, 0);
    p.drawLine(0, 0, 0, h - 1);
    p.setPen(Qt::black);
    p.drawLine(w - 1, 0, w - 1, h - 1);
    p.drawLine(0, h - 1, w - 1, h - 1);
    if (selected)
        p.fillRect(1, 1, w - 2, h - 2, kSelectedGround);
    // A picture decoded smaller than its file is placed as the whole picture would be; a
    // weave's drawing is the picture itself.
    const QSize pictureSize = m_thumbnail.IsWeave || m_thumbnail.FileSize.isEmpty()
        ? m_thumbnail.Picture.size()
        : m_thumbnail.FileSize;
    const QRect shown = ThumbnailPictureRect(size, pictureSize, margin, captionHeight);
    if (!shown.isEmpty()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, !m_thumbnail.IsWeave);
        p.drawImage(shown, m_thumbnail.Picture);
        m_frame = shown.adjusted(-1, -1, 1, 1);
        p.setPen(Qt::black);
        p.drawLine(m_frame.topLeft(), m_frame.topRight());
        p.drawLine(m_frame.topLeft(), m_frame.bottomLeft());
        p.setPen(Qt::white);
        p.drawLine(m_frame.topRight(), m_frame.bottomRight());
        p.drawLine(m_frame.bottomLeft(), m_frame.bottomRight());
    }
    if (captions) {
        p.setPen(selected ? Qt::white : Qt::black);
        p.setFont(font());
        p.drawText(QRect(1, h - captionHeight - 4, w - 2, captionHeight), Qt::AlignCenter, m_thumbnail.Text);
    }
    p.end();
    resize(imageSize);
    update();
}

void TDrawImage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_image);
}

void TDrawImage::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT Clicked(this);
    QWidget::mousePressEvent(event);
}

void TDrawImage::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        Q_EMIT DoubleClicked(this);
}

// ---- TBrowseImage ---------------------------------------------------------------------

TBrowseImage::TBrowseImage(QWidget *parent)
    : QWidget(parent)
{
    m_scrollBar = new QScrollBar(Qt::Vertical, this);
    m_scrollBar->setFocusPolicy(Qt::NoFocus);
    m_scrollBar->setRange(0, 3);
    m_scrollBar->setEnabled(false);
    connect(m_scrollBar, &QScrollBar::valueChanged, this, [this] { layoutThumbnails(); });
    SetThumbSize(120, 120);
}

TBrowseImage::~TBrowseImage() = default;

void TBrowseImage::SetThumbSize(int width, int height)
{
    m_layout.ThumbWidth = width;
    m_layout.ThumbHeight = height;
    m_scrollBar->setSingleStep(width + m_layout.Spacing);
    m_scrollBar->setPageStep(width + m_layout.Spacing);
}

void TBrowseImage::SetRootFolder(const QString &path)
{
    if (path == m_rootFolder)
        return;
    m_rootFolder = path;
    m_subFolders.clear();
    if (QFileInfo(path).isDir()) {
        Folders().CurrentDir = withSlash(path);
        m_subFolders = ListLibraryNames(path);
    }
}

void TBrowseImage::SetFolder(const QString &path)
{
    const QString folder = withoutTrailingSlash(path);
    if (folder == m_folder)
        return;
    m_folder = folder;
    clearThumbnails();
    m_files.clear();
    // A folder that is not there shows nothing: never the files of the folder before,
    // which the delete commands would then act on.
    if (QFileInfo(folder).isDir()) {
        Folders().CurrentDir = withSlash(folder);
        m_files = ListBrowseFiles(folder, m_mode);
    }
    FitToParent();
    recount();
    buildThumbnails();
}

void TBrowseImage::clearThumbnails()
{
    m_selected = nullptr;
    qDeleteAll(m_thumbnails);
    m_thumbnails.clear();
}

void TBrowseImage::buildThumbnails()
{
    m_wanted = int(m_files.size());
    const int captionHeight = m_captions ? QFontMetrics(font()).height() : 0;
    const QSize box(m_layout.ThumbWidth - 2 * m_layout.Margin,
        m_layout.ThumbHeight - captionHeight - 2 * m_layout.Margin);
    int index = 0;
    while (index < m_files.size()) {
        const QString file = m_files.at(index);
        TThumbnail thumbnail;
        if (!ReadThumbnail(file, box, thumbnail)) {
            // An unreadable file is dropped, and with it one of the thumbnails wanted.
            m_files.removeAt(index);
            --m_wanted;
            continue;
        }
        auto *image = new TDrawImage(file, thumbnail, this);
        image->Draw(QSize(m_layout.ThumbWidth, m_layout.ThumbHeight), m_layout.Margin, m_captions, false);
        connect(image, &TDrawImage::Clicked, this, &TBrowseImage::SelectThumbnail);
        connect(image, &TDrawImage::DoubleClicked, this, [this](TDrawImage *source) {
            SelectThumbnail(source);
            Q_EMIT OnDblClickEvent(source);
        });
        m_thumbnails.append(image);
        image->show();
        m_scrollBar->raise();
        Q_EMIT OnProcessEvent(int(Round((index + 1) * 100.0 / std::max(1, m_wanted))));
        ++index;
        layoutThumbnails();
    }
    recount();
    layoutThumbnails();
}

void TBrowseImage::ShowFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (m_folder.isEmpty() || info.absolutePath().compare(m_folder, Qt::CaseInsensitive) != 0)
        return;
    const QString path = QDir(m_folder).filePath(info.fileName());
    TDrawImage *found = nullptr;
    for (TDrawImage *image : std::as_const(m_thumbnails))
        if (image->FileName() == path)
            found = image;
    if (!found) {
        const QString folder = m_folder;
        m_folder.clear();
        SetFolder(folder);
        for (TDrawImage *image : std::as_const(m_thumbnails))
            if (image->FileName() == path)
                found = image;
        if (found)
            SelectThumbnail(found);
        return;
    }
    // A listed file is read again: it was saved anew.
    const int captionHeight = m_captions ? QFontMetrics(font()).height() : 0;
    TThumbnail thumbnail;
    if (ReadThumbnail(path,
            QSize(m_layout.ThumbWidth - 2 * m_layout.Margin,
                m_layout.ThumbHeight - captionHeight - 2 * m_layout.Margin),
            thumbnail)) {
        auto *fresh = new TDrawImage(path, thumbnail, this);
        connect(fresh, &TDrawImage::Clicked, this, &TBrowseImage::SelectThumbnail);
        connect(fresh, &TDrawImage::DoubleClicked, this, [this](TDrawImage *source) {
            SelectThumbnail(source);
            Q_EMIT OnDblClickEvent(source);
        });
        const qsizetype at = m_thumbnails.indexOf(found);
        m_thumbnails[at] = fresh;
        if (m_selected == found)
            m_selected = nullptr;
        delete found;
        found = fresh;
        found->show();
        m_scrollBar->raise();
    }
    found->Draw(QSize(m_layout.ThumbWidth, m_layout.ThumbHeight), m_layout.Margin, m_captions, false);
    layoutThumbnails();
    SelectThumbnail(found);
}

void TBrowseImage::ClearSelection()
{
    if (m_selected)
        m_selected->Draw(
            QSize(m_layout.ThumbWidth, m_layout.ThumbHeight), m_layout.Margin, m_captions, false);
    m_selected = nullptr;
}

void TBrowseImage::SelectThumbnail(TDrawImage *thumbnail)
{
    if (!thumbnail || !m_thumbnails.contains(thumbnail))
        return;
    if (m_selected != thumbnail) {
        ClearSelection();
        m_selected = thumbnail;
        thumbnail->Draw(QSize(m_layout.ThumbWidth, m_layout.ThumbHeight), m_layout.Margin, m_captions, true);
    }
    Q_EMIT OnClickEvent(thumbnail);
}

QString TBrowseImage::SelectedFile() const
{
    return m_selected ? m_selected->FileName() : QString();
}

void TBrowseImage::DeleteSelectedFile(TDocumentQuestions &questions)
{
    if (!m_selected)
        return;
    if (!questions.AskOkCancel(
            GetUiMessage(UiKey::String::AskDeleteFile), GetUiMessage(UiKey::String::DeleteCaption)))
        return;
    TDrawImage *image = m_selected;
    m_selected = nullptr;
    QFile::remove(image->FileName());
    m_files.removeAll(image->FileName());
    m_thumbnails.removeAll(image);
    delete image;
    recount();
    layoutThumbnails();
}

bool TBrowseImage::DeleteFolder(QString *error)
{
    if (!DeleteLibraryFolder(m_folder, m_files, error))
        return false;
    clearThumbnails();
    m_subFolders.removeAll(QFileInfo(m_folder).fileName());
    m_files.clear();
    Folders().CurrentDir = withSlash(QFileInfo(m_folder).absolutePath());
    m_folder.clear();
    m_scrollBar->setEnabled(false);
    return true;
}

void TBrowseImage::FitToParent()
{
    if (QWidget *parent = parentWidget()) {
        setGeometry(parent->contentsRect());
        parent->update();
    }
}

void TBrowseImage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int barWidth = m_scrollBar->sizeHint().width();
    m_scrollBar->setGeometry(width() - barWidth, 0, barWidth, height());
    recount();
    layoutThumbnails();
}

void TBrowseImage::wheelEvent(QWheelEvent *event)
{
    if (m_scrollBar->isEnabled())
        QCoreApplication::sendEvent(m_scrollBar, event);
}

// ---- TBrowseAll -----------------------------------------------------------------------

TBrowseAll::TBrowseAll(QWidget *parent)
    : TBrowseImage(parent)
{
}

void TBrowseAll::layoutThumbnails()
{
    // The columns count the width with the scroll bar, as the list always has.
    m_columns = m_layout.Columns(width());
    m_rows = TBrowseLayout::Rows(int(m_thumbnails.size()), m_columns);
    for (int i = 0; i < m_thumbnails.size(); ++i)
        m_thumbnails[i]->move(m_layout.ThumbnailPosition(i, m_columns, m_scrollBar->value()));
}

void TBrowseAll::recount()
{
    m_columns = m_layout.Columns(width());
    m_wanted = int(m_files.size());
    m_rows = TBrowseLayout::Rows(m_wanted, m_columns);
    const int maximum = m_layout.ScrollMaximum(m_wanted, width(), height());
    m_scrollBar->setRange(0, maximum);
    m_scrollBar->setEnabled(TBrowseLayout::ScrollEnabled(maximum));
}
