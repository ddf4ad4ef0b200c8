#include "shell/ui/autolinkpicturewindow.h"

#include "core/decode/pictureload.h"
#include "core/palette/palettejoin.h"
#include "core/picture/picturelimits.h"
#include "core/settings/uitexts.h"
#include "shell/documentquestions.h"
#include "shell/ui/linkpicturewindow.h"

#include <QAction>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

TPoint cellAt(const QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    return TPoint { p.x(), p.y() };
}

// A vertex marker: a small plus over the cell.
void drawMarker(QPainter &painter, TPoint p)
{
    const QPointF c(p.X + 0.5, p.Y + 0.5);
    painter.drawLine(c - QPointF(4, 0), c + QPointF(4, 0));
    painter.drawLine(c - QPointF(0, 4), c + QPointF(0, 4));
}

} // namespace

TLinkMergeView::TLinkMergeView(TGuideLines &lines, QWidget *parent)
    : QWidget(parent)
    , m_lines(lines)
{
    setObjectName(QStringLiteral("ImgMerge"));
    setCursor(Qt::CrossCursor);
}

void TLinkMergeView::SetArrangement(const QImage &arrangement)
{
    m_shown = arrangement.convertToFormat(QImage::Format_RGB32);
    setFixedSize(m_shown.isNull() ? QSize(1, 1) : m_shown.size());
    update();
}

void TLinkMergeView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    if (m_shown.isNull())
        return;
    painter.drawImage(event->rect(), m_shown, event->rect());
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto line = [&](TPoint a, TPoint b, const QColor &colour) {
        painter.setPen(QPen(colour, 1));
        painter.drawLine(QPointF(a.X + 0.5, a.Y + 0.5), QPointF(b.X + 0.5, b.Y + 0.5));
        drawMarker(painter, a);
        drawMarker(painter, b);
    };
    const std::vector<TPoint> &points = m_lines.Points();
    for (std::size_t i = 0; i + 1 < points.size(); i += 2)
        line(points[i], points[i + 1], Qt::red);
    const std::vector<TPoint> drawn = m_lines.LinePoints();
    if (drawn.size() == 2)
        line(drawn[0], drawn[1], Qt::blue);
}

void TLinkMergeView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_lines.Press(cellAt(event))) {
        update();
        Q_EMIT LinesChanged();
    }
}

void TLinkMergeView::mouseMoveEvent(QMouseEvent *event)
{
    if (event->buttons() & Qt::LeftButton) {
        m_lines.Move(cellAt(event));
        update();
    }
}

void TLinkMergeView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_lines.Release();
        update();
        Q_EMIT LinesChanged();
    }
}

TFrmGuidedLinkPic::TFrmGuidedLinkPic(int direction, TDocumentQuestions &questions, QWidget *parent)
    : QDialog(parent)
    , m_direction(direction == 1 ? 1 : 0)
    , m_questions(questions)
{
    const bool lr = m_direction == 1;
    setObjectName(QLatin1String(lr ? "FrmAutoLeftRightLinkPic" : "FrmAutoTopBottomLinkPic"));
    setWindowTitle(lr ? GetUiString(UiKey::LinkPicture::Auto_Left_Right_Link_Caption)
                      : GetUiString(UiKey::LinkPicture::Auto_Top_Bottom_Link_Caption));
    auto *tools = new QToolBar(this);
    tools->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction *openFirst = newAction(lr ? "ActOpenLeftPic" : "ActOpenTopPic",
        lr ? GetUiString(UiKey::LinkPicture::Open_Left) : GetUiString(UiKey::LinkPicture::Open_Top),
        "document-open");
    QAction *openSecond = newAction(lr ? "ActOpenRightPic" : "ActOpenBottomPic",
        lr ? GetUiString(UiKey::LinkPicture::Open_Right) : GetUiString(UiKey::LinkPicture::Open_Bottom),
        "document-open");
    m_reDefine = newAction("ActReDefine", GetUiString(UiKey::LinkPicture::ReDefine), "edit-undo");
    m_startMerge
        = newAction("ActStartMerge", GetUiString(UiKey::LinkPicture::Start_Merge), "dialog-ok-apply");
    QAction *close = newAction("ActClose", GetUiString(UiKey::LinkPicture::Close_Link), "window-close");
    tools->addActions({ openFirst, openSecond, m_reDefine, m_startMerge, close });
    connect(openFirst, &QAction::triggered, this, [this] { open(0); });
    connect(openSecond, &QAction::triggered, this, [this] { open(1); });
    connect(m_reDefine, &QAction::triggered, this, &TFrmGuidedLinkPic::ReDefine);
    connect(m_startMerge, &QAction::triggered, this, &TFrmGuidedLinkPic::StartMerge);
    connect(close, &QAction::triggered, this, &QDialog::reject);

    m_view = new TLinkMergeView(m_lines, this);
    connect(m_view, &TLinkMergeView::LinesChanged, this, &TFrmGuidedLinkPic::updateActions);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("ScrollBox"));
    m_scroll->setWidget(m_view);
    m_scroll->setMinimumSize(480, 360);
    auto *hint = new QLabel(GetUiString(UiKey::LinkPicture::Guide_Line_Hint), this);
    hint->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(tools);
    layout->addWidget(m_scroll, 1);
    layout->addWidget(hint);
    // The window is at least as wide as the whole bar: a narrower one would hide the
    // commands at its end (starting and cancelling) behind the bar's overflow button. The
    // bar is measured with its buttons in their final style and font.
    // (The bar sits above the layout, which does not count its width.)
    ensurePolished();
    setMinimumWidth(std::max(minimumWidth(), WholeBarWidth(tools)));
    updateActions();
}

QAction *TFrmGuidedLinkPic::newAction(const char *name, const QString &text, const char *icon)
{
    auto *action = new QAction(QIcon::fromTheme(QLatin1String(icon)), text, this);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(text);
    addAction(action);
    return action;
}

void TFrmGuidedLinkPic::open(int side)
{
    const QString file = m_choose ? m_choose(side) : ChooseLinkPictureFile(this);
    if (!file.isEmpty())
        OpenPicture(side, file);
}

bool TFrmGuidedLinkPic::OpenPicture(int side, const QString &fileName)
{
    QImage picture;
    QString error;
    if (!LoadPictureAs8Bit(fileName, picture, &error)) {
        m_questions.ShowMessage(error, GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
        return false;
    }
    const std::size_t s = std::size_t(side == 0 ? 0 : 1);
    const QImage other = m_pictures[1 - s];
    if (!other.isNull()) {
        // Both pictures: arranged for linking with one palette, each keeping its place.
        QImage a = s == 0 ? picture : other, b = s == 0 ? other : picture;
        QImage arrangement;
        TRect rectA, rectB;
        if (!MergePalettesForLink(a, b, m_direction, arrangement, rectA, rectB)) {
            m_questions.ShowMessage(
                GetUiMessage(UiKey::String::JoinTooLarge)
                    .arg(m_direction == 1 ? a.width() + b.width() : std::max(a.width(), b.width()))
                    .arg(m_direction == 1 ? std::max(a.height(), b.height()) : a.height() + b.height())
                    .arg(MaxPictureSide),
                GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
            return false;
        }
        m_arrangement = arrangement;
        m_rectA = rectA;
        m_rectB = rectB;
        m_lines.SetPictures(rectA, rectB);
    } else {
        m_arrangement = picture;
        m_lines.Reset();
    }
    m_pictures[s] = picture;
    m_result = QImage();
    m_view->SetArrangement(m_arrangement);
    updateActions();
    return true;
}

TGuideLines::TAccept TFrmGuidedLinkPic::AcceptLine()
{
    const TGuideLines::TAccept answer = m_lines.Accept();
    if (answer == TGuideLines::TAccept::AcrossPictures)
        m_questions.ShowMessage(GetUiMessage(UiKey::String::TwoPoitnNotInOneRect),
            GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
    else if (answer == TGuideLines::TAccept::SamePicture)
        m_questions.ShowMessage(GetUiMessage(UiKey::String::GuideLineSamePicture),
            GetUiMessage(UiKey::String::ErrorCaption), TMessageKind::Error);
    m_view->update();
    updateActions();
    return answer;
}

void TFrmGuidedLinkPic::DropLine()
{
    m_lines.DropLine();
    m_view->update();
    updateActions();
}

bool TFrmGuidedLinkPic::ReDefine()
{
    const bool done = m_lines.ReDefine();
    m_view->update();
    updateActions();
    return done;
}

bool TFrmGuidedLinkPic::StartMerge()
{
    if (!m_lines.CanMerge())
        return false;
    QImage result;
    QString error;
    if (!AutoLinkByLines(
            m_pictures[0], m_pictures[1], m_direction, m_lines.PicturePoints(), result, &error)) {
        m_questions.ShowMessage(GetUiMessage(UiKey::String::LinkNoResult).arg(error),
            GetUiMessage(UiKey::String::ErrorHint), TMessageKind::Error);
        return false;
    }
    m_result = result;
    accept();
    return true;
}

TPalette256 TFrmGuidedLinkPic::GetPalette() const
{
    TPalette256 palette {};
    if (!m_result.isNull())
        GetBitmapPalette(m_result, palette);
    return palette;
}

void TFrmGuidedLinkPic::updateActions()
{
    m_reDefine->setEnabled(!m_lines.Points().empty());
    m_startMerge->setEnabled(m_lines.CanMerge());
}

void TFrmGuidedLinkPic::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        AcceptLine();
        return;
    case Qt::Key_Delete:
        DropLine();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
