#include "shell/ui/palettebarpanel.h"

#include "core/settings/uitexts.h"

#include <QColorDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace {
constexpr int kCellWidth = 35;
constexpr int kCellHeight = 28;
constexpr int kScrollInterval = 180; // ms between two steps while an arrow is held
constexpr int kAbsorbColorTool = 14;

QColor qColor(const TPaletteEntry &e)
{
    return QColor(e.Red, e.Green, e.Blue);
}
} // namespace

TPaletteGrid::TPaletteGrid(TFramPalette &bar, QWidget *parent)
    : TIDrawGrid(parent)
    , m_bar(bar)
{
    setObjectName(QStringLiteral("GridPalette"));
    Layout().DefaultCompartLine = false;
    SetDefaultColWidth(kCellWidth);
    SetDefaultRowHeight(kCellHeight);
    SetGridLineWidth(0);
    SetRowCount(1);
    SetColCount(TPaletteBarModel::ColorCount);
    CanAutoScroll = false;
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMinimumHeight(kCellHeight + 2 * frameWidth());
    viewport()->setMouseTracking(true);
}

void TPaletteGrid::DrawCell(int col, int row, const QRect &rect, unsigned)
{
    QPainter *p = Canvas();
    const TPaletteBarModel &model = m_bar.m_model;
    const int index = model.IndexAt(col, row);
    if (!p || index < 0)
        return;
    const TPaletteEntry &color = model.DisplayOrder()[col * model.RowCount() + row].Color;
    // A raised frame, white inside, the colour 3 pixels in (an ellipse for a transparent
    // colour), a circle around a protected one, the current colour focused.
    p->fillRect(rect, palette().button());
    p->setPen(palette().light().color());
    p->drawLine(rect.topLeft(), rect.topRight());
    p->drawLine(rect.topLeft(), rect.bottomLeft());
    p->setPen(palette().dark().color());
    p->drawLine(rect.bottomLeft(), rect.bottomRight());
    p->drawLine(rect.topRight(), rect.bottomRight());
    const QRect inner = rect.adjusted(3, 3, -3, -3);
    p->fillRect(inner, Qt::white);
    p->setPen(Qt::NoPen);
    p->setBrush(qColor(color));
    if (model.Transparent(index))
        p->drawEllipse(rect.adjusted(5, 5, -5, -5));
    else
        p->drawRect(inner);
    if (model.Protected(index)) {
        p->save();
        p->setCompositionMode(QPainter::RasterOp_NotDestination);
        p->setPen(QPen(Qt::white, 1));
        p->setBrush(Qt::NoBrush);
        p->drawEllipse(rect.center(), 8, 8);
        p->restore();
    }
    if (index == model.CurrentIndex()) {
        p->setPen(QPen(Qt::black, 1, Qt::DotLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(rect.adjusted(1, 1, -2, -2));
    }
    QFont font = p->font();
    font.setPointSize(5);
    p->setFont(font);
    p->setPen(TPaletteBarModel::NumberIsWhite(color) ? Qt::white : Qt::black);
    p->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, QString::number(index));
}

void TPaletteGrid::mousePressEvent(QMouseEvent *event)
{
    int col = -1, row = -1;
    const QPoint pos = event->position().toPoint();
    MouseToCell(pos.x(), pos.y(), col, row);
    const std::optional<TColorPickInfo> pick
        = m_bar.m_model.Click(col, row, event->button() == Qt::RightButton);
    if (!pick)
        return;
    viewport()->setCursor(Qt::CrossCursor);
    m_bar.Refresh();
    Q_EMIT m_bar.ColorPicked(*pick);
}

void TPaletteGrid::mouseMoveEvent(QMouseEvent *event)
{
    int col = -1, row = -1;
    const QPoint pos = event->position().toPoint();
    MouseToCell(pos.x(), pos.y(), col, row);
    if (const std::optional<int> index = m_bar.m_model.PointerAt(col, row))
        Q_EMIT m_bar.PointerOver(*index);
}

void TPaletteGrid::mouseReleaseEvent(QMouseEvent *)
{
    if (m_bar.m_toolId != kAbsorbColorTool)
        viewport()->setCursor(Qt::ArrowCursor);
    viewport()->update();
}

void TPaletteGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    int col = -1, row = -1;
    const QPoint pos = event->position().toPoint();
    MouseToCell(pos.x(), pos.y(), col, row);
    TPaletteBarModel &model = m_bar.m_model;
    const int index = model.IndexAt(col, row);
    if (!TPaletteBarModel::CanEditColor(index) || !m_bar.ChooseColor)
        return;
    TColor color = PlainColor(model.Palette()[index]);
    if (!m_bar.ChooseColor(color) || !model.EditColor(index, color))
        return;
    m_bar.Refresh();
    Q_EMIT m_bar.ColorEdited(index);
}

TFramPalette::TFramPalette(QWidget *parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("FramPalette"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto *body = new QWidget(this);
    auto *row = new QHBoxLayout(body);
    row->setContentsMargins(2, 2, 2, 2);
    const auto button = [body](const char *name) {
        auto *b = new QToolButton(body);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    m_fore = button("ShpFore");
    m_back = button("ShpBack");
    m_exchange = button("BtnExChg");
    m_lock = button("SbnLock");
    m_lock->setCheckable(true);
    m_left = button("ImgLeft");
    m_right = button("ImgRight");
    m_left->setArrowType(Qt::LeftArrow);
    m_right->setArrowType(Qt::RightArrow);
    for (QToolButton *arrow : { m_left, m_right }) {
        arrow->setAutoRepeat(true);
        arrow->setAutoRepeatDelay(kScrollInterval);
        arrow->setAutoRepeatInterval(kScrollInterval);
    }
    m_exchange->setText(QStringLiteral("⇄"));
    m_grid = new TPaletteGrid(*this, body);
    for (QWidget *w : std::initializer_list<QWidget *> { m_fore, m_back, m_exchange, m_lock, m_left })
        row->addWidget(w);
    row->addWidget(m_grid, 1);
    row->addWidget(m_right);
    setWidget(body);

    const auto ctrl = [] { return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier); };
    connect(m_left, &QToolButton::clicked, this, [this, ctrl] { Scroll(false, ctrl()); });
    connect(m_right, &QToolButton::clicked, this, [this, ctrl] { Scroll(true, ctrl()); });
    connect(m_exchange, &QToolButton::clicked, this, [this] {
        m_model.Exchange();
        Refresh();
        Q_EMIT Exchanged();
    });
    connect(m_fore, &QToolButton::clicked, this, [this] { Q_EMIT TargetChosen(false); });
    connect(m_back, &QToolButton::clicked, this, [this] { Q_EMIT TargetChosen(true); });
    ChooseColor = [this](TColor &color) {
        const QColor chosen = QColorDialog::getColor(ToQColor(color), this);
        if (!chosen.isValid())
            return false;
        color = PlainColor(TPaletteEntry {
            std::uint8_t(chosen.red()), std::uint8_t(chosen.green()), std::uint8_t(chosen.blue()), 0 });
        return true;
    };
    ApplyLanguage();
    Refresh();
}

void TFramPalette::ApplyLanguage()
{
    m_fore->setToolTip(GetUiString(UiKey::ExChange_Color::ForeGroundColor));
    m_back->setToolTip(GetUiString(UiKey::ExChange_Color::BackGroundColor));
    m_lock->setToolTip(GetUiString(UiKey::ExChange_Color::Lock));
    m_exchange->setToolTip(GetUiString(UiKey::Tools::ExChange_Color));
}

void TFramPalette::showSwatch(QToolButton *swatch, int index)
{
    const TPaletteEntry &e = m_model.Palette()[std::clamp(index, 0, 255)];
    const QColor text = TPaletteBarModel::NumberIsWhite(e) ? Qt::white : Qt::black;
    swatch->setText(QString::number(index));
    swatch->setStyleSheet(QStringLiteral("QToolButton { background: %1; color: %2; min-width: 28px; }")
                              .arg(qColor(e).name(), text.name()));
}

void TFramPalette::Refresh()
{
    showSwatch(m_fore, m_model.CurrentIndex());
    showSwatch(m_back, m_model.BackIndex());
    m_lock->setChecked(m_model.Protected(m_model.CurrentIndex()));
    m_grid->viewport()->update();
}

void TFramPalette::Scroll(bool right, bool ctrl)
{
    const int visible = std::max(1, m_grid->viewport()->width() / kCellWidth);
    m_grid->SetLeftCol(
        TPaletteBarModel::ScrollStep(m_grid->LeftCol(), visible, m_grid->ColCount(), right, ctrl));
    m_grid->viewport()->update();
}

void TFramPalette::SetTool(int toolId)
{
    m_toolId = toolId;
    // The colour-pick cursor over the strip and the swatches says where a pick can land.
    const Qt::CursorShape shape = toolId == kAbsorbColorTool ? Qt::CrossCursor : Qt::ArrowCursor;
    m_grid->viewport()->setCursor(shape);
    m_fore->setCursor(shape);
    m_back->setCursor(shape);
}

void TFramPalette::SelectFirstColour()
{
    const TColorPickInfo info = m_model.SelectFirstColor();
    Refresh();
    Q_EMIT ColorPicked(info);
}
