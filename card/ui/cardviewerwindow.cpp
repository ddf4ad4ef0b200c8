#include "card/ui/cardviewerwindow.h"

#include "card/builtcard.h"
#include "card/cardformats.h"
#include "card/cardwrite.h"
#include "card/samplecardpicture.h"
#include "card/ui/cardsavedialog.h"
#include "card/ui/cardsplitdialog.h"
#include "core/base/wheelturn.h"
#include "core/settings/recentfiles.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/ui/numberedit.h"
#include "core/ui/recentmenu.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <climits>
#include <cstdlib>

namespace {
const QString kUntitled = QStringLiteral("Untitled*");
constexpr int kMaxZoom = 16;

// Needle position p of a card row: bit 7 - p mod 8 of byte p div 8.
bool Raised(const TDynamicByteArray &row, qint64 p)
{
    const qint64 byte = p / 8;
    return byte < row.length() && (row[byte] & (0x80 >> (p % 8)));
}
} // namespace

// The picture area of the viewer: paints the visible cards only.
class TCardViewCanvas : public QWidget {
public:
    explicit TCardViewCanvas(TFrmWenBan *viewer)
        : QWidget(viewer)
        , m_viewer(viewer)
    {
        setObjectName(QStringLiteral("CardCanvas"));
        setMouseTracking(true);
        setMinimumSize(200, 150);
    }

    // Pixels of one card on the sample-card layout.
    int layoutCardHeight() const
    {
        return std::max(1, SampleCardPictureSize(m_viewer->m_sampleCard).height());
    }
    int layoutWidth() const { return SampleCardPictureSize(m_viewer->m_sampleCard).width(); }
    // Lines (electronic) or cards (layout) that fit in the canvas.
    int visibleLines() const
    {
        const int step = m_viewer->m_electronic ? m_viewer->m_zoom : layoutCardHeight();
        return std::max(1, height() / step);
    }
    qint64 needles() const
    {
        return qint64(m_viewer->m_sampleCard.ColCount()) * m_viewer->m_sampleCard.RowCount();
    }
    unsigned formatFlags() const
    {
        const TCardFormat *f
            = m_viewer->m_extension.isEmpty() ? nullptr : FindCardFormat(m_viewer->m_extension);
        return f ? f->Flags : 0;
    }
    // The card drawn on line `line` of the electronic picture.
    int cardOfLine(int line) const
    {
        const int n = int(m_viewer->m_card.length());
        return (formatFlags() & CardFirstOnTop) ? line : n - 1 - line;
    }

    QImage paintedBand; // the last electronic band drawn (tests and benchmarks)

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), Qt::gray);
        if (m_viewer->m_card.isEmpty())
            return;
        if (m_viewer->m_electronic)
            paintElectronic(p);
        else
            paintLayout(p);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        const QString hint = m_viewer->HintAt(event->position().toPoint());
        if (hint.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(event->globalPosition().toPoint(), hint, this);
    }
    void leaveEvent(QEvent *) override { QToolTip::hideText(); }

    // The wheel scrolls cards, Shift+wheel needles (columns), Ctrl+wheel zooms about the
    // pointer.
    void wheelEvent(QWheelEvent *event) override
    {
        event->accept();
        const QPoint turn = event->angleDelta();
        const TWheelStep step
            = m_wheel.Take(turn.x(), turn.y(), event->modifiers(), QApplication::wheelScrollLines());
        QScrollBar *vert = m_viewer->m_vert;
        QScrollBar *horz = m_viewer->m_horz;
        // The horizontal bar counts pixels: a needle is a zoom step wide on the electronic
        // card, a cell wide on the sample-card layout.
        const int pitch = m_viewer->m_electronic ? m_viewer->m_zoom : int(m_viewer->m_sampleCard.MinRad());
        if (step.Action == TWheelAction::ScrollRows)
            vert->setValue(vert->value() + step.Steps);
        else if (step.Action == TWheelAction::ScrollCols)
            horz->setValue(
                int(std::clamp<qint64>(qint64(horz->value()) + qint64(step.Steps) * pitch, 0, INT_MAX)));
        else if (step.Action == TWheelAction::Zoom)
            zoomAt(step.Steps, event->position().toPoint());
    }

private:
    void paintElectronic(QPainter &p)
    {
        const int zoom = m_viewer->m_zoom;
        const TMultiByteArray &card = m_viewer->m_card;
        const int first = m_viewer->m_vert->value();
        const int lines = std::min<int>(height() / zoom + 1, int(card.length()) - first);
        const qint64 total = needles();
        const qint64 x0 = m_viewer->m_horz->value() / zoom;
        const int cols = int(std::clamp<qint64>(total - x0, 0, width() / zoom + 1));
        if (lines <= 0 || cols <= 0)
            return;
        const bool mirrored = formatFlags() & CardMirrored;
        // One pixel per needle and card, then scaled: only the visible band is built.
        QImage band(cols, lines, QImage::Format_RGB32);
        for (int y = 0; y < lines; ++y) {
            const TDynamicByteArray &row = card[cardOfLine(first + y)];
            auto *dst = reinterpret_cast<QRgb *>(band.scanLine(y));
            for (int x = 0; x < cols; ++x) {
                const qint64 screen = x0 + x;
                const qint64 pos = mirrored ? total - 1 - screen : screen;
                dst[x] = Raised(row, pos) ? 0xFFFFFFFFu : 0xFF000000u;
            }
        }
        paintedBand = band;
        const int offsetX = -int(m_viewer->m_horz->value() % zoom);
        p.drawImage(QRect(offsetX, 0, cols * zoom, lines * zoom), band);
    }

    void paintLayout(QPainter &p)
    {
        const TMultiByteArray &card = m_viewer->m_card;
        const int cardHeight = layoutCardHeight();
        const int first = m_viewer->m_vert->value();
        const int count = std::min<int>(height() / cardHeight + 1, int(card.length()) - first);
        const QSize whole = SampleCardPictureSize(m_viewer->m_sampleCard);
        const QRect area
            = QRect(m_viewer->m_horz->value(), 0, width(), whole.height()) & QRect(QPoint(), whole);
        if (area.isEmpty())
            return;
        // The cells take each card's bits on a copy: the viewer's sample card stays as it is.
        TYangkaImage shown;
        shown.Assign(m_viewer->m_sampleCard);
        p.setPen(Qt::blue);
        for (int i = 0; i < count; ++i) {
            shown.ShowCardRow(card[first + i]);
            const QImage picture = DrawSampleCard(shown, area);
            const int top = i * cardHeight;
            p.drawImage(QPoint(0, top), picture);
            p.drawText(QPoint(2, top + 14), QStringLiteral("%1").arg(first + i + 1, -6));
        }
    }

    // Zooms by steps; on the electronic card the needle and the card under the pointer
    // stay under it (the layout of sample cards does not change with the zoom).
    void zoomAt(int steps, QPoint pos)
    {
        const int oldZoom = m_viewer->m_zoom;
        const int line = m_viewer->m_vert->value() + pos.y() / oldZoom;
        const qint64 x = qint64(m_viewer->m_horz->value()) + pos.x();
        for (int i = 0; i < std::min(std::abs(steps), kMaxZoom); ++i) {
            if (steps > 0)
                m_viewer->ZoomIn();
            else
                m_viewer->ZoomOut();
        }
        const int newZoom = m_viewer->m_zoom;
        if (newZoom == oldZoom || !m_viewer->m_electronic)
            return;
        const qint64 needle = x / oldZoom;
        const qint64 zoomedX = needle * newZoom + (x - needle * oldZoom) * newZoom / oldZoom;
        QScrollBar *horz = m_viewer->m_horz;
        horz->setValue(ScrollKeepingPoint(zoomedX, pos.x(), horz->maximum()));
        m_viewer->m_vert->setValue(std::max(0, line - pos.y() / newZoom));
    }

    TFrmWenBan *m_viewer;
    TWheelTurn m_wheel;
};

TFrmWenBan::TFrmWenBan(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmWenBan"));
    resize(800, 600);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(buildMenus());
    layout->addLayout(buildCardArea(), 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("StatusBar"));
    layout->addWidget(m_status);
    buildCardNumberEdit();
    setDefaultQuestions();
    RefreshRecentMenu(
        QString(), m_fileMenu, QLatin1String(WenBanRecentSection), true,
        [this](const QString &f) { LoadCardFile(f); }, int(m_fileMenu->actions().size()));
    m_fileName = QString();
    ApplyLanguage();
}

namespace {
// The viewer's menu entries: object name and text.
struct TViewerAction {
    const char *Name;
    TUiKey Text;
};
const TViewerAction kViewerActions[] = {
    { "ActLoad", UiKey::CardViewer::Open },
    { "ActSave", UiKey::CardViewer::Save },
    { "ActSaveAs", UiKey::CardViewer::Save_As },
    { "ActSplit", UiKey::CardViewer::Split },
    { "ActExit", UiKey::CardViewer::Close },
    { "ActViewEWenBan", UiKey::CardViewer::Show_Electronic_Card },
    { "ActZoomIn", UiKey::CardViewer::Zoom_In },
    { "ActZoomOut", UiKey::CardViewer::Zoom_Out },
};
} // namespace

QMenuBar *TFrmWenBan::buildMenus()
{
    auto *menuBar = new QMenuBar(this);
    m_fileMenu = menuBar->addMenu(QString());
    m_viewMenu = menuBar->addMenu(QString());
    const auto add
        = [this](QMenu *menu, const char *name, const QKeySequence &key, const std::function<void()> &run) {
              auto *a = new QAction(this);
              a->setObjectName(QLatin1String(name));
              if (!key.isEmpty())
                  a->setShortcut(key);
              connect(a, &QAction::triggered, this, run);
              menu->addAction(a);
              m_actions << a;
              return a;
          };
    add(m_fileMenu, "ActLoad", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { ActLoad(); });
    add(m_fileMenu, "ActSave", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { ActSave(); });
    add(m_fileMenu, "ActSaveAs", {}, [this] { ActSaveAs(); });
    add(m_fileMenu, "ActSplit", {}, [this] { ActSplit(); });
    m_fileMenu->addSeparator();
    add(m_fileMenu, "ActExit", {}, [this] { close(); });
    QAction *view = add(m_viewMenu, "ActViewEWenBan", {}, [] {});
    view->setCheckable(true);
    view->setChecked(m_electronic);
    disconnect(view, &QAction::triggered, this, nullptr);
    connect(view, &QAction::toggled, this, [this](bool on) { SetElectronic(on); });
    add(m_viewMenu, "ActZoomIn", QKeySequence(Qt::Key_Plus), [this] { ZoomIn(); });
    add(m_viewMenu, "ActZoomOut", QKeySequence(Qt::Key_Minus), [this] { ZoomOut(); });
    return menuBar;
}

QGridLayout *TFrmWenBan::buildCardArea()
{
    auto *grid = new QGridLayout;
    m_canvas = new TCardViewCanvas(this);
    m_vert = new QScrollBar(Qt::Vertical, this);
    m_vert->setObjectName(QStringLiteral("VertScroll"));
    m_vert->setPageStep(10);
    m_horz = new QScrollBar(Qt::Horizontal, this);
    m_horz->setObjectName(QStringLiteral("HorzScroll"));
    grid->addWidget(m_canvas, 0, 0);
    grid->addWidget(m_vert, 0, 1);
    grid->addWidget(m_horz, 1, 0);
    connect(m_vert, &QScrollBar::valueChanged, m_canvas, qOverload<>(&QWidget::update));
    connect(m_horz, &QScrollBar::valueChanged, m_canvas, qOverload<>(&QWidget::update));
    return grid;
}

void TFrmWenBan::buildCardNumberEdit()
{
    // A number box kept out of sight: Enter jumps to the card typed into it (from 1; the
    // scroll bar holds a number past the last card to the last one).
    m_cardNumber = new TNumricEdit(this);
    m_cardNumber->setObjectName(QStringLiteral("CardNumberEdit"));
    m_cardNumber->SetNumStyle(TNumStyle::nsInt);
    m_cardNumber->SetMinValue(1);
    m_cardNumber->SetNumForEmpty(1);
    m_cardNumber->hide();
    connect(
        m_cardNumber, &QLineEdit::returnPressed, this, [this] { JumpToCard(m_cardNumber->GetIntValue()); });
}

void TFrmWenBan::setDefaultQuestions()
{
    AskSave = [this](const QString &text, const QString &caption) {
        switch (QMessageBox::question(this, caption, text,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
        case QMessageBox::Yes:
            return TCardSaveAnswer::Yes;
        case QMessageBox::No:
            return TCardSaveAnswer::No;
        default:
            return TCardSaveAnswer::Cancel;
        }
    };
    ShowMessage = [this](const QString &text, const QString &caption, int kind) {
        QMessageBox box(kind == 2 ? QMessageBox::Critical
                : kind == 1       ? QMessageBox::Warning
                                  : QMessageBox::Information,
            caption, text, QMessageBox::Ok, this);
        box.exec();
    };
    ChooseSaveFile = [this](QString &fileName, int &filterIndex) {
        return ChooseCardSaveFile(this, CardSaveFilter(), QString(), fileName, filterIndex);
    };
    ChooseOpenFile = [this] {
        const QStringList filters = CardDialogNameFilters(GetUiString(UiKey::CardViewer::Open_Filter));
        QFileDialog dialog(this, QString(), Folders().CurrentDir);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setNameFilters(filters);
        dialog.setFileMode(QFileDialog::ExistingFile);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
            ? dialog.selectedFiles().first()
            : QString();
    };
}

void TFrmWenBan::ApplyLanguage()
{
    m_fileMenu->setTitle(GetUiString(UiKey::CardViewer::Menu_File));
    m_viewMenu->setTitle(GetUiString(UiKey::CardViewer::Menu_View));
    for (const TViewerAction &a : kViewerActions)
        if (QAction *action = Action(a.Name))
            action->setText(GetUiString(a.Text));
    updateCaption();
}

void TFrmWenBan::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        ApplyLanguage();
    QDialog::changeEvent(event);
}

TFrmWenBan::~TFrmWenBan() = default;

QWidget *TFrmWenBan::Canvas() const
{
    return m_canvas;
}

QAction *TFrmWenBan::Action(const char *name) const
{
    for (QAction *a : m_actions)
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

QString TFrmWenBan::StatusText() const
{
    if (m_card.isEmpty())
        return QString();
    const qint64 rowBytes = m_card[0].length();
    // The two roads have always spelt the status a little differently.
    const QString format
        = GetUiString(m_fromFile ? UiKey::CardViewer::Status_File : UiKey::CardViewer::Status_Built);
    return format.arg(rowBytes * 8).arg(m_card.length());
}

void TFrmWenBan::updateCaption()
{
    setWindowTitle(m_fileName.isEmpty() ? GetUiString(UiKey::CardViewer::Caption) : m_fileName);
    m_status->setText(StatusText());
}

void TFrmWenBan::updateScroll()
{
    const int n = int(m_card.length());
    const int max = m_electronic ? std::max(0, n - m_canvas->visibleLines()) : std::max(0, n - 1);
    m_vert->setRange(0, max);
    const qint64 width = m_electronic ? m_canvas->needles() * m_zoom : m_canvas->layoutWidth();
    m_horz->setRange(0, int(std::clamp<qint64>(width - m_canvas->width(), 0, INT_MAX)));
    m_horz->setPageStep(std::max(1, m_canvas->width()));
    m_canvas->update();
}

void TFrmWenBan::cardChanged()
{
    updateCaption();
    updateScroll();
    m_vert->setValue(0);
    m_horz->setValue(0);
}

int TFrmWenBan::FirstCard() const
{
    return m_vert->value();
}

void TFrmWenBan::LoadCard(const TMultiByteArray &card, bool showElectronic, const TYangkaImage &sampleCard)
{
    m_card = card;
    m_sampleCard.Assign(sampleCard);
    m_extension.clear();
    m_jacquardCount = 0;
    m_statedNeedles = 0;
    m_ykStyle = sampleCard.YKStyle();
    m_fromFile = false;
    m_fileName = kUntitled;
    m_saved = false;
    SetElectronic(showElectronic);
    cardChanged();
}

bool TFrmWenBan::querySave()
{
    if (m_saved || m_card.isEmpty())
        return true;
    switch (AskSave(GetUiString(UiKey::CardViewer::Ask_Save), GetUiString(UiKey::CardViewer::Save_Caption))) {
    case TCardSaveAnswer::No:
        return true;
    case TCardSaveAnswer::Cancel:
        return false;
    case TCardSaveAnswer::Yes:
        break;
    }
    // Go on only when the card was saved.
    return ActSave() && m_saved;
}

bool TFrmWenBan::LoadCardFile(const QString &fileName)
{
    if (!querySave())
        return false;
    TWenBanIO io;
    QString error;
    const bool read = io.LoadFromFile(fileName, &error);
    if (read && (io.Content != TWenBanIO::CardContent || io.Card.isEmpty()))
        ShowMessage(GetUiString(UiKey::CardViewer::No_Data), GetUiString(UiKey::CardViewer::Open_Caption), 1);
    if (!read || io.Content != TWenBanIO::CardContent || io.Card.isEmpty()) {
        QString text = GetUiString(UiKey::CardViewer::Open_Error);
        if (!read && !error.isEmpty())
            text += QLatin1Char('\n') + error;
        ShowMessage(text, GetUiString(UiKey::CardViewer::Open_Caption), 2);
        return false;
    }
    m_card = io.Card;
    // The layout of a file's card: its counts, all jacquard, its holes and picture height.
    TYangkaImage sample;
    sample.SetColCount(io.ColCount);
    sample.SetRowCount(io.RowCount);
    sample.SetJacquardCount(int(io.ColCount) * io.RowCount);
    sample.SetPositionHoles(io.Holes);
    sample.Height = io.YKHeight;
    // A QS card is numbered from the other end; every other file from its own start, so
    // that the start flag of one file does not stay for the next.
    sample.SetStartFlag(io.Extension == QLatin1String(".QS") ? 1 : 0);
    m_sampleCard.Assign(sample);
    m_extension = io.Extension;
    m_jacquardCount = io.JacquardCount;
    m_statedNeedles = io.StatedNeedles;
    m_ykStyle = io.YKStyle;
    m_fromFile = true;
    m_fileName = fileName;
    m_saved = true;
    RefreshRecentMenu(
        fileName, m_fileMenu, QLatin1String(WenBanRecentSection), false,
        [this](const QString &f) { LoadCardFile(f); }, int(m_fileMenu->actions().size()));
    cardChanged();
    return true;
}

TWenBanIO TFrmWenBan::fileData() const
{
    TWenBanIO io;
    SetBuiltCard(io, m_card, m_sampleCard);
    io.YKStyle = m_ykStyle;
    if (m_fromFile) {
        io.JacquardCount = m_jacquardCount;
        io.StatedNeedles = m_statedNeedles;
    }
    io.Extension = m_extension;
    return io;
}

QImage TFrmWenBan::cardPicture() const
{
    TWenBanIO io = fileData();
    if (!io.RenderCard())
        return QImage();
    return io.Bitmap;
}

bool TFrmWenBan::SaveCardFile(const QString &fileName, int filterIndex)
{
    if (m_card.isEmpty())
        return false;
    const bool bmp = QFileInfo(fileName).suffix().compare(QLatin1String("BMP"), Qt::CaseInsensitive) == 0;
    QString error;
    if (!WriteCardFile(fileData(), bmp ? cardPicture() : QImage(), fileName, filterIndex, &error)) {
        ShowMessage(GetUiMessage(UiKey::String::StringWriteFileError) + QLatin1Char('\n') + error,
            GetUiMessage(UiKey::String::ErrorCaption), 2);
        return false;
    }
    m_fileName = fileName;
    m_saved = true;
    RefreshRecentMenu(
        fileName, m_fileMenu, QLatin1String(WenBanRecentSection), false,
        [this](const QString &f) { LoadCardFile(f); }, int(m_fileMenu->actions().size()));
    updateCaption();
    return true;
}

bool TFrmWenBan::ActLoad()
{
    const QString fileName = ChooseOpenFile();
    return !fileName.isEmpty() && LoadCardFile(fileName);
}

bool TFrmWenBan::ActSave()
{
    if (m_card.isEmpty())
        return false;
    // The viewer never changes a card: one with a file is saved as it is.
    if (m_saved)
        return true;
    return ActSaveAs();
}

bool TFrmWenBan::ActSaveAs()
{
    if (m_card.isEmpty())
        return false;
    QString fileName;
    int filterIndex = 0;
    if (!ChooseSaveFile(fileName, filterIndex))
        return false;
    return SaveCardFile(fileName, filterIndex);
}

void TFrmWenBan::ActSplit()
{
    TFrmSplit split(this);
    split.exec();
}

void TFrmWenBan::SetElectronic(bool on)
{
    m_electronic = on;
    if (QAction *a = Action("ActViewEWenBan")) {
        const QSignalBlocker block(a);
        a->setChecked(on);
    }
    updateScroll();
}

void TFrmWenBan::ZoomIn()
{
    m_zoom = std::min(kMaxZoom, m_zoom + 1);
    updateScroll();
}

void TFrmWenBan::ZoomOut()
{
    m_zoom = std::max(1, m_zoom - 1);
    updateScroll();
}

void TFrmWenBan::JumpToCard(int number)
{
    m_vert->setValue(number - 1);
}

QString TFrmWenBan::HintAt(QPoint point) const
{
    if (m_card.isEmpty() || point.x() < 0 || point.y() < 0)
        return QString();
    const qint64 total = m_canvas->needles();
    qint64 pos = -1;
    int cardIndex = -1;
    if (m_electronic) {
        const int line = m_vert->value() + point.y() / m_zoom;
        const qint64 screen = (qint64(m_horz->value()) + point.x()) / m_zoom;
        if (line >= m_card.length() || screen >= total)
            return QString();
        cardIndex = m_canvas->cardOfLine(line);
        pos = (m_canvas->formatFlags() & CardMirrored) ? total - 1 - screen : screen;
    } else {
        const int cardHeight = m_canvas->layoutCardHeight();
        cardIndex = m_vert->value() + point.y() / cardHeight;
        int col = 0, row = 0;
        if (cardIndex >= m_card.length()
            || !m_sampleCard.CellAtPixel(m_horz->value() + point.x(), point.y() % cardHeight, col, row))
            return QString();
        pos = qint64(col) * m_sampleCard.RowCount() + row;
    }
    // Needles are counted from the sample card's start corner.
    const qint64 needle = m_sampleCard.StartFlag() == 1 ? total - pos : pos + 1;
    return QStringLiteral("(%1,%2)").arg(needle).arg(cardIndex + 1);
}

void TFrmWenBan::reject()
{
    if (querySave())
        QDialog::reject();
}
