// The main window's layout: on a first start the window is maximised with the drawing area
// the largest part (the palette bar as tall as its swatches, the weave library showing rows
// of thumbnails); the geometry and the places of the bars and panels are kept in the
// program's settings file when the window closes and taken back on the next start; document
// and tool windows open where they can be seen.
#include "shell/ui/mainwindow.h"

#include "core/settings/inifile.h"
#include "core/settings/sharedstate.h"
#include "shell/ui/browseview.h"
#include "shell/ui/explorerwindow.h"
#include "shell/ui/libraryframe.h"
#include "shell/ui/mainwindownavigator.h"
#include "shell/ui/navigatorpanel.h"
#include "shell/ui/palettebarpanel.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QShowEvent>

namespace {
const QString kSection = QStringLiteral("MainWindow");
const QString kGeometry = QStringLiteral("Geometry");
const QString kState = QStringLiteral("DockState");
// The version of the bars' and panels' arrangement: a state stored by another one is not
// taken back.
constexpr int kStateVersion = 1;
// The room the weave library is given under the navigator on a first start: two rows of
// thumbnails with their names, the tabs and the margins.
constexpr int kLibraryRows = 2;
constexpr int kLibraryChrome = 72; // before the library was ever laid out

QByteArray readBytes(const TIniFile &ini, const QString &key)
{
    return QByteArray::fromBase64(ini.ReadString(kSection, key, QString()).toLatin1());
}
} // namespace

void TMainForm::restoreLayout()
{
    const TIniFile ini(Folders().ConfigIniPath);
    const QByteArray geometry = readBytes(ini, kGeometry);
    if (geometry.isEmpty() || !restoreGeometry(geometry)) {
        // A first start: the whole screen, the docks sized when the window is shown.
        setWindowState(windowState() | Qt::WindowMaximized);
        m_firstStartLayout = true;
        return;
    }
    restoreState(readBytes(ini, kState), kStateVersion);
}

void TMainForm::saveLayout()
{
    TIniFile ini(Folders().ConfigIniPath);
    ini.WriteString(kSection, kGeometry, QString::fromLatin1(saveGeometry().toBase64()));
    ini.WriteString(kSection, kState, QString::fromLatin1(saveState(kStateVersion).toBase64()));
    if (const auto *explorer = findChild<TFrmExplorer *>())
        WriteExplorerFolder(explorer->Directory());
}

// The palette bar takes the height of its swatches; the navigator above the weave library
// leaves the library room for its rows of thumbnails.
void TMainForm::applyFirstStartLayout()
{
    if (TFramPalette *bar = PaletteBar())
        resizeDocks({ bar }, { bar->minimumSizeHint().height() }, Qt::Vertical);
    auto *library = findChild<TRightFrame *>();
    if (!library)
        return;
    const TBrowseImage *weaves = library->FrameBrowse()->BrowseWeave;
    const int thumbnailRow = weaves->Layout().ThumbHeight + weaves->Layout().Spacing;
    // The title, the tabs and the frames around the thumbnails, as laid out now.
    const int chrome = library->height() > weaves->height() && weaves->height() > 0
        ? library->height() - weaves->height()
        : kLibraryChrome;
    const int libraryHeight = kLibraryRows * thumbnailRow + chrome;
    const int rightHeight = m_mdi->height();
    resizeDocks({ m_navigator->Panel(), library },
        { std::max(80, rightHeight - libraryHeight), libraryHeight }, Qt::Vertical);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_firstStartLayout) {
        m_firstStartLayout = false;
        // Once the window has taken the screen and laid its panels out.
        QMetaObject::invokeMethod(
            this, [this] { applyFirstStartLayout(); }, Qt::QueuedConnection);
    }
}

namespace {
const QString kFillingChild = QStringLiteral("FillingChild");

// Keeps the first document window filling the document area as the area changes size: a
// file named on the command line opens before the main window has laid itself out, and the
// window is maximised or resized later. Once the designer moves or resizes the document
// window, or maximises it, it is left where it was put.
class TFillingChild : public QObject {
public:
    explicit TFillingChild(QWidget *viewport)
        : QObject(viewport)
        , m_viewport(viewport)
    {
        setObjectName(kFillingChild);
        viewport->installEventFilter(this);
    }
    void Fill(QMdiSubWindow *child)
    {
        m_child = child;
        m_area = m_viewport->rect();
        child->setGeometry(m_area);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Resize || !m_child)
            return false;
        const bool untouched = m_child->geometry() == m_area
            && !(m_child->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized));
        if (untouched)
            Fill(m_child);
        else
            m_child = nullptr;
        return false;
    }

private:
    QWidget *m_viewport;
    QPointer<QMdiSubWindow> m_child;
    QRect m_area;
};
} // namespace

// A document window opens inside the visible document area: the first one filling it (and
// going on filling it while the area is laid out or resized), the later ones cascading inside
// it (maximised while the one in front is).
void TMainForm::showChild(QMdiSubWindow *child)
{
    const QRect area = m_mdi->viewport()->rect();
    if (m_mdi->subWindowList().size() <= 1) {
        QWidget *viewport = m_mdi->viewport();
        auto *filling = dynamic_cast<TFillingChild *>(
            viewport->findChild<QObject *>(kFillingChild, Qt::FindDirectChildrenOnly));
        if (!filling)
            filling = new TFillingChild(viewport);
        filling->Fill(child);
        child->show();
        return;
    }
    const int step = 24 * int(m_mdi->subWindowList().size() - 1);
    QRect frame(area.topLeft(), area.size() * 0.9);
    frame.translate(
        step % std::max(1, area.width() - frame.width()), step % std::max(1, area.height() - frame.height()));
    child->setGeometry(frame.intersected(area));
    child->show();
}

// A tool window beside the document: at the right edge of the document area, below the menu
// bar, and on the screen.
void TMainForm::placeToolWindow(QWidget *window)
{
    const QRect area(m_mdi->mapToGlobal(QPoint(0, 0)), m_mdi->size());
    QRect frame(QPoint(area.right() - window->width(), area.top()), window->size());
    if (const QScreen *place = screen())
        frame = KeepOnScreen(frame, place->availableGeometry());
    const int belowMenu = menuBar()->mapToGlobal(QPoint(0, menuBar()->height())).y();
    if (frame.top() < belowMenu)
        frame.moveTop(belowMenu);
    window->move(frame.topLeft());
}

QRect KeepOnScreen(QRect frame, const QRect &screen)
{
    frame.setWidth(std::min(frame.width(), screen.width()));
    frame.setHeight(std::min(frame.height(), screen.height()));
    frame.moveLeft(std::clamp(frame.left(), screen.left(), screen.right() - frame.width() + 1));
    frame.moveTop(std::clamp(frame.top(), screen.top(), screen.bottom() - frame.height() + 1));
    return frame;
}

namespace {
const QString kExplorerFolder = QStringLiteral("ExplorerFolder");
} // namespace

QString ExplorerStartFolder()
{
    const QString folder = TIniFile(Folders().ConfigIniPath).ReadString(kSection, kExplorerFolder, QString());
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : Folders().PictureDir;
}

void WriteExplorerFolder(const QString &folder)
{
    if (!folder.isEmpty())
        TIniFile(Folders().ConfigIniPath).WriteString(kSection, kExplorerFolder, folder);
}
