#include "shell/ui/linkpicturewindow.h"

#include "core/decode/pictureload.h"
#include "core/palette/palettejoin.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/ui/setpalettedialog.h"
#include "shell/documentquestions.h"
#include "shell/pictureformats.h"
#include "shell/ui/openpicturedialog.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr QSize PaneSize(320, 360);

} // namespace

int WholeBarWidth(const QToolBar *bar)
{
    // The buttons side by side, with the bar's spacing, margins, frame and handle; the bar's
    // own size hint comes out short before the window is shown.
    const QList<QAction *> actions = bar->actions();
    int width = 0;
    for (QAction *action : actions)
        if (const QWidget *button = bar->widgetForAction(action))
            width += button->sizeHint().width();
    const QLayout *layout = bar->layout();
    const int spacing = layout ? layout->spacing() : 0;
    const QMargins margins = bar->contentsMargins() + (layout ? layout->contentsMargins() : QMargins());
    const QStyle *style = bar->style();
    return width + spacing * std::max(0, int(actions.size()) - 1) + margins.left() + margins.right()
        + style->pixelMetric(QStyle::PM_ToolBarHandleExtent, nullptr, bar)
        + 2
        * (style->pixelMetric(QStyle::PM_ToolBarItemMargin, nullptr, bar)
            + style->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, bar));
}

QString ChooseLinkPictureFile(QWidget *parent)
{
    TOpenPictureDialog dialog(parent);
    dialog.SetPipeFilter(OpenPictureFilter);
    dialog.setDirectory(Folders().PictureDir);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        return dialog.selectedFiles().constFirst();
    return QString();
}

TLinkPicturePane::TLinkPicturePane(QWidget *parent)
    : QWidget(parent)
{
    setMinimumSize(PaneSize);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TLinkPicturePane::SetPicture(const QImage &picture)
{
    // Drawn often while the bars move: kept in the screen's format once.
    m_shown = picture.convertToFormat(QImage::Format_RGB32);
    update();
}

void TLinkPicturePane::SetOffset(QPoint offset)
{
    m_offset = offset;
    update();
}

void TLinkPicturePane::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().dark());
    if (m_shown.isNull())
        return;
    const QRect target = event->rect() & QRect(m_offset, m_shown.size());
    if (!target.isEmpty())
        painter.drawImage(target, m_shown, target.translated(-m_offset));
}

TFrmManualLinkPic::TFrmManualLinkPic(int direction, TDocumentQuestions &questions, QWidget *parent)
    : QDialog(parent)
    , m_direction(direction == 1 ? 1 : 0)
    , m_questions(questions)
{
    const bool lr = m_direction == 1;
    setObjectName(QLatin1String(lr ? "FrmLeftRightLinkPic" : "FrmTopBottomLinkPic"));
    setWindowTitle(lr ? GetUiString(UiKey::LinkPicture::Left_Right_Link_Caption)
                      : GetUiString(UiKey::LinkPicture::Top_Bottom_Link_Caption));

    auto *tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *openFirst = newAction(lr ? "ActOpenLeft" : "ActOpenTop",
        lr ? GetUiString(UiKey::LinkPicture::Open_Left) : GetUiString(UiKey::LinkPicture::Open_Top),
        "document-open");
    QAction *openSecond = newAction(lr ? "ActOpenRight" : "ActOpenBottom",
        lr ? GetUiString(UiKey::LinkPicture::Open_Right) : GetUiString(UiKey::LinkPicture::Open_Bottom),
        "document-open");
    QAction *reposition
        = newAction("ActReposition", GetUiString(UiKey::LinkPicture::Reposition), "view-refresh");
    QAction *start
        = newAction("ActStartLink", GetUiString(UiKey::LinkPicture::Start_Link), "dialog-ok-apply");
    QAction *cancel = newAction("ActCancel", GetUiString(UiKey::LinkPicture::Cancel_Link), "dialog-cancel");
    tools->addActions({ openFirst, openSecond, reposition, start, cancel });
    connect(openFirst, &QAction::triggered, this, [this] { open(0); });
    connect(openSecond, &QAction::triggered, this, [this] { open(1); });
    connect(reposition, &QAction::triggered, this, &TFrmManualLinkPic::Reposition);
    connect(start, &QAction::triggered, this, &TFrmManualLinkPic::StartLink);
    connect(cancel, &QAction::triggered, this, &QDialog::reject);

    // Each pane with its two bars; the names follow the side and the bar's orientation.
    static const char *const names[2][2][2] = {
        // top-bottom: { first { across, along }, second { across, along } }
        { { "SbrTopVert", "SbrTopHorz" }, { "SbrBottomVert", "SbrBottomHorz" } },
        { { "SbrLeftHorz", "SbrLeftVert" }, { "SbrRightHorz", "SbrRightVert" } },
    };
    static const char *const paneNames[2][2] = { { "ImgTop", "ImgBottom" }, { "ImgLeft", "ImgRight" } };
    auto *panes = lr ? static_cast<QBoxLayout *>(new QHBoxLayout) : new QVBoxLayout;
    for (int side = 0; side < 2; ++side) {
        auto *pane = new TLinkPicturePane(this);
        pane->setObjectName(QLatin1String(paneNames[m_direction][side]));
        auto *across = new QScrollBar(lr ? Qt::Horizontal : Qt::Vertical, this);
        auto *along = new QScrollBar(lr ? Qt::Vertical : Qt::Horizontal, this);
        across->setObjectName(QLatin1String(names[m_direction][side][0]));
        along->setObjectName(QLatin1String(names[m_direction][side][1]));
        for (QScrollBar *bar : { across, along }) {
            bar->setRange(0, 0);
            connect(bar, &QScrollBar::valueChanged, this, &TFrmManualLinkPic::placePictures);
        }
        QScrollBar *horz = lr ? across : along, *vert = lr ? along : across;
        auto *grid = new QGridLayout;
        grid->setSpacing(0);
        grid->addWidget(pane, 0, 0);
        grid->addWidget(vert, 0, 1);
        grid->addWidget(horz, 1, 0);
        panes->addLayout(grid);
        m_panes[std::size_t(side)] = pane;
        m_across[std::size_t(side)] = across;
        m_along[std::size_t(side)] = along;
    }
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(tools);
    layout->addLayout(panes, 1);
    // The window is at least as wide as the whole bar: a narrower one would hide the
    // commands at its end (starting and cancelling) behind the bar's overflow button. The
    // bar is measured with its buttons in their final style and font.
    // (The bar sits above the layout, which does not count its width.)
    ensurePolished();
    setMinimumWidth(std::max(minimumWidth(), WholeBarWidth(tools)));
}

QAction *TFrmManualLinkPic::newAction(const char *name, const QString &text, const char *icon)
{
    auto *action = new QAction(QIcon::fromTheme(QLatin1String(icon)), text, this);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(text);
    addAction(action);
    return action;
}

QScrollBar *TFrmManualLinkPic::Bar(int side, bool across) const
{
    return (across ? m_across : m_along).at(std::size_t(side));
}

void TFrmManualLinkPic::open(int side)
{
    const QString file = m_choose ? m_choose(side) : ChooseLinkPictureFile(this);
    if (!file.isEmpty())
        OpenPicture(side, file);
}

bool TFrmManualLinkPic::OpenPicture(int side, const QString &fileName)
{
    QImage picture;
    QString error;
    if (!LoadPictureAs8Bit(fileName, picture, &error)) {
        m_questions.ShowMessage(error, GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
        return false;
    }
    const std::size_t s = std::size_t(side == 0 ? 0 : 1);
    m_pictures[s] = picture;
    m_panes[s]->SetPicture(picture);
    const bool lr = m_direction == 1;
    const int across = lr ? picture.width() : picture.height();
    // The first picture's bar is the cut at the seam: at most all but one line of it.
    QSignalBlocker block(m_across[s]);
    m_across[s]->setRange(0, s == 0 ? across - 1 : across);
    m_across[s]->setValue(s == 0 ? 0 : m_across[s]->maximum());
    int larger = 0;
    for (const QImage &p : m_pictures)
        if (!p.isNull())
            larger = std::max(larger, lr ? p.height() : p.width());
    for (QScrollBar *bar : m_along) {
        QSignalBlocker blockAlong(bar);
        bar->setRange(-larger, larger);
    }
    QSignalBlocker blockOwn(m_along[s]);
    m_along[s]->setValue(0);
    placePictures();
    return true;
}

void TFrmManualLinkPic::placePictures()
{
    const bool lr = m_direction == 1;
    for (std::size_t s = 0; s < 2; ++s) {
        const QImage &p = m_pictures[s];
        if (p.isNull())
            continue;
        const QSize pane = m_panes[s]->size();
        // The first picture meets the seam at its pane's far edge, the second at the near
        // one; the bar across moves it from there, the bar along moves it along the seam.
        const int acrossPos = s == 0
            ? (lr ? pane.width() - p.width() : pane.height() - p.height()) + m_across[s]->value()
            : m_across[s]->value() - m_across[s]->maximum();
        const int alongPos = m_along[s]->value();
        m_panes[s]->SetOffset(lr ? QPoint(acrossPos, alongPos) : QPoint(alongPos, acrossPos));
    }
}

void TFrmManualLinkPic::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placePictures();
}

void TFrmManualLinkPic::Reposition()
{
    for (std::size_t s = 0; s < 2; ++s) {
        QSignalBlocker blockAcross(m_across[s]), blockAlong(m_along[s]);
        m_along[s]->setValue(0);
        m_across[s]->setValue(s == 0 ? 0 : m_across[s]->maximum());
    }
    placePictures();
}

bool TFrmManualLinkPic::StartLink()
{
    if (m_pictures[0].isNull() || m_pictures[1].isNull())
        return false;
    TPaletteChoice choice = TPaletteChoice::Combine;
    const TPaletteChoiceKind kind
        = m_direction == 1 ? TPaletteChoiceKind::LeftRight : TPaletteChoiceKind::TopBottom;
    TDialogPaletteChoice dialogAsker(this);
    TPaletteChoiceAsker &ask = m_askPalette ? *m_askPalette : dialogAsker;
    if (!ask.AskPaletteChoice(kind, choice))
        return false;
    // The first picture stays first whichever palette is kept.
    const int offset = m_across[0]->value();
    QImage result;
    QString error;
    const bool ok = choice == TPaletteChoice::Combine
        ? UnitePicturePalettes(m_pictures[0], m_pictures[1], m_direction, offset, result, &error)
        : UnitePalettesByChoice(m_pictures[0], m_pictures[1], m_direction, offset,
            choice == TPaletteChoice::First, result, &error);
    if (!ok) {
        m_questions.ShowMessage(error, GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
        return false;
    }
    m_result = result;
    accept();
    return true;
}

TPalette256 TFrmManualLinkPic::GetPalette() const
{
    TPalette256 palette {};
    if (!m_result.isNull())
        GetBitmapPalette(m_result, palette);
    return palette;
}
