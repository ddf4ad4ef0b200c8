#include "shell/ui/techtileweavewindow.h"

#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "editor/patterngrid.h"
#include "editor/ui/cellgrid.h"
#include "editor/weavetiling.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/explorerwindow.h"
#include "weave/layerbuild.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace {

constexpr int HeaderHeight = 20;
constexpr int CellSide = 100;

// The grid of the window: right clicks and double clicks reach the window too.
class TWeaveSlotGrid : public TIDrawGrid {
public:
    explicit TWeaveSlotGrid(TFrmTechTileWeave &window, QWidget *parent)
        : TIDrawGrid(parent)
        , m_window(window)
    {
        WheelScrollsView = true;
    }

protected:
    // The weaves lie side by side, more of them than the window shows: while no rows are
    // hidden a plain turn of the wheel scrolls the columns, as Shift with a turn does.
    void wheelEvent(QWheelEvent *event) override
    {
        if (verticalScrollBar()->maximum() > 0 || event->modifiers() != Qt::NoModifier) {
            TIDrawGrid::wheelEvent(event);
            return;
        }
        QWheelEvent sideways(event->position(), event->globalPosition(), event->pixelDelta(),
            event->angleDelta(), event->buttons(), Qt::ShiftModifier, event->phase(), event->inverted(),
            event->source());
        TIDrawGrid::wheelEvent(&sideways);
        event->accept();
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        int col = -1, row = -1;
        const QPoint pt = event->position().toPoint();
        MouseToCell(pt.x(), pt.y(), col, row);
        if (event->button() == Qt::LeftButton)
            TIDrawGrid::mousePressEvent(event);
        if (col >= 0 && row >= 1)
            m_window.CellPressed(col, row, event->button());
    }
    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        int col = -1, row = -1;
        const QPoint pt = event->position().toPoint();
        MouseToCell(pt.x(), pt.y(), col, row);
        if (col >= 0 && row >= 1 && event->button() == Qt::LeftButton)
            m_window.CellDoubleClicked(col, row, event->modifiers());
    }

private:
    TFrmTechTileWeave &m_window;
};

QColor textColor(TColor colour)
{
    return HeaderTextIsWhite(colour) ? Qt::white : Qt::black;
}

} // namespace

TFrmTechTileWeave::TFrmTechTileWeave(QWidget *owner, TMDIChild &child)
    : QWidget(owner, Qt::Tool | Qt::WindowStaysOnTopHint)
    , m_child(&child)
    , m_mesh(&child.Document().Record())
{
    setObjectName(QStringLiteral("FrmTechTileWeave"));
    setAttribute(Qt::WA_DeleteOnClose);
    QString error;
    m_assignment = std::make_unique<TWeaveAssignment>(*m_mesh, &error);

    auto *layout = new QVBoxLayout(this);
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("TbrAssign"));
    auto *modes = new QActionGroup(this);
    QAction *colour = addAction(bar, "ActColorWeave", "color-management");
    QAction *other = addAction(bar, "ActBaseWeave", "view-list-details");
    for (QAction *a : { colour, other }) {
        a->setCheckable(true);
        modes->addAction(a);
    }
    colour->setChecked(true);
    connect(colour, &QAction::triggered, this, [this] { setMode(TAssignMode::Color); });
    connect(other, &QAction::triggered, this, [this] { setMode(TAssignMode::Tech); });
    bar->addSeparator();
    QAction *zoomIn = addAction(bar, "ActZoomIn", "zoom-in");
    zoomIn->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence::ZoomIn });
    QAction *zoomOut = addAction(bar, "ActZoomOut", "zoom-out");
    zoomOut->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence::ZoomOut });
    for (QAction *a : { zoomIn, zoomOut })
        a->setShortcutContext(Qt::WindowShortcut);
    connect(zoomIn, &QAction::triggered, this, [this] {
        m_assignment->ZoomIn();
        updateZoomActions();
        m_grid->viewport()->update();
    });
    connect(zoomOut, &QAction::triggered, this, [this] {
        m_assignment->ZoomOut();
        updateZoomActions();
        m_grid->viewport()->update();
    });
    bar->addSeparator();
    const struct {
        const char *name;
        const char *icon;
        TShiftDirection direction;
    } shifts[] = {
        { "ActShiftLeft", "go-previous", ShiftLeft },
        { "ActShiftRight", "go-next", ShiftRight },
        { "ActShiftUp", "go-up", ShiftUp },
        { "ActShiftDown", "go-down", ShiftDown },
    };
    for (const auto &s : shifts) {
        const TShiftDirection direction = s.direction;
        connect(addAction(bar, s.name, s.icon), &QAction::triggered, this,
            [this, direction] { shiftSelected(direction); });
    }
    bar->addSeparator();
    connect(addAction(bar, "ActClear", "edit-clear"), &QAction::triggered, this, [this] { clearSelected(); });
    layout->addWidget(bar);

    auto *grid = new TWeaveSlotGrid(*this, this);
    m_grid = grid;
    m_grid->setObjectName(QStringLiteral("DrawGridWeave"));
    m_grid->SetDefaultColWidth(CellSide);
    m_grid->SetDefaultRowHeight(CellSide);
    m_grid->SetColor(0xFFFFFF);
    m_grid->OnDrawCell
        = [this](TIDrawGrid *, int col, int row, const QRect &rect, unsigned) { paintCell(col, row, rect); };
    layout->addWidget(m_grid, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BtnOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BtnCancel"));
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, [this] { accept(); });
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);

    // The document going takes its record with it: the window goes first.
    connect(&child, &QObject::destroyed, this, [this] {
        m_mesh = nullptr;
        close();
    });

    ShowMessage = [](const QString &) {};
    ApplyLanguage();
    rebuildGrid();
    updateZoomActions();
    resize(520, 360);
    if (!m_assignment->Valid())
        QMetaObject::invokeMethod(
            this,
            [this, error] {
                ShowMessage(error);
                close();
            },
            Qt::QueuedConnection);
}

TFrmTechTileWeave::~TFrmTechTileWeave()
{
    // The explorer it opened goes with it.
    delete m_explorer.data();
}

QAction *TFrmTechTileWeave::addAction(QToolBar *bar, const char *name, const char *icon)
{
    auto *action = new QAction(QIcon::fromTheme(QString::fromLatin1(icon)), QString(), this);
    action->setObjectName(QString::fromLatin1(name));
    bar->addAction(action);
    m_actions.append(action);
    return action;
}

QAction *TFrmTechTileWeave::Action(const char *name) const
{
    for (QAction *a : m_actions)
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
}

void TFrmTechTileWeave::ApplyLanguage()
{
    setWindowTitle(GetUiString(UiKey::MainMenu::Assign_Weave));
    const struct {
        const char *name;
        QString text;
    } texts[] = {
        { "ActColorWeave", GetUiString(UiKey::TileWeave::Assign_Color_Weaves) },
        { "ActBaseWeave", GetUiString(UiKey::TileWeave::Assign_Other_Weaves) },
        { "ActZoomIn", GetUiString(UiKey::TileWeave::Assign_Zoom_In) },
        { "ActZoomOut", GetUiString(UiKey::TileWeave::Assign_Zoom_Out) },
        { "ActShiftLeft", GetUiString(UiKey::TileWeave::Move_Left) },
        { "ActShiftRight", GetUiString(UiKey::TileWeave::Move_Right) },
        { "ActShiftUp", GetUiString(UiKey::TileWeave::Move_Top) },
        { "ActShiftDown", GetUiString(UiKey::TileWeave::Move_Bottom) },
        { "ActClear", GetUiString(UiKey::TileWeave::Assign_Clear) },
    };
    for (const auto &t : texts)
        if (QAction *a = Action(t.name))
            a->setText(t.text);
    m_ok->setText(GetUiString(UiKey::General::BtnOK));
    m_cancel->setText(GetUiString(UiKey::General::BtnCancel));
    m_grid->viewport()->update();
}

void TFrmTechTileWeave::setMode(TAssignMode mode)
{
    if (!m_mesh)
        return;
    m_assignment->SetMode(mode);
    Action(mode == TAssignMode::Color ? "ActColorWeave" : "ActBaseWeave")->setChecked(true);
    rebuildGrid();
}

void TFrmTechTileWeave::rebuildGrid()
{
    m_grid->SetColCount(std::max(m_assignment->ColumnCount(), 1));
    m_grid->SetRowCount(m_assignment->RowCount() + 1);
    m_grid->Layout().SetRowHeight(0, HeaderHeight);
    m_grid->UpdateScrollRange();
    m_grid->viewport()->update();
}

void TFrmTechTileWeave::updateZoomActions()
{
    Action("ActZoomIn")->setEnabled(m_assignment->CanZoomIn());
    Action("ActZoomOut")->setEnabled(m_assignment->CanZoomOut());
}

void TFrmTechTileWeave::slotEdited()
{
    // The card commands see that the weaves changed.
    if (m_child)
        m_child->Document().SetRowTablesUnchanged(false);
    m_grid->viewport()->update();
}

void TFrmTechTileWeave::CellPressed(int col, int row, Qt::MouseButton button)
{
    if (!m_mesh)
        return;
    if (button == Qt::RightButton)
        m_assignment->ArmSource(row, col);
    else if (button == Qt::LeftButton && m_assignment->PasteInto(row, col))
        slotEdited();
}

void TFrmTechTileWeave::CellDoubleClicked(int col, int row, Qt::KeyboardModifiers modifiers)
{
    if (!m_mesh || !m_assignment->ValidCell(row, col))
        return;
    // The file picked in the explorer goes into the cell double-clicked.
    m_grid->SetCurrentCell(col, row);
    if (modifiers & Qt::ControlModifier) {
        // The design window beside it: made once and kept while this window lives.
        if (!m_design)
            m_design = OpenWeaveDesign(this, QString(), false);
        if (m_design) {
            m_design->show();
            m_design->raise();
        }
        return;
    }
    if (!m_explorer) {
        m_explorer = new TFrmExplorer(nullptr);
        m_explorer->setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
        m_explorer->setAttribute(Qt::WA_DeleteOnClose);
        m_explorer->SetDirectory(Folders().WeaveDir);
        connect(m_explorer, &TFrmExplorer::OpenFile, this,
            [this](const QString &fileName) { LoadIntoSelected(fileName); });
    }
    m_explorer->show();
    m_explorer->raise();
}

bool TFrmTechTileWeave::LoadIntoSelected(const QString &fileName)
{
    if (!m_mesh)
        return false;
    QString error;
    if (!m_assignment->LoadInto(m_grid->Row(), m_grid->Col(), fileName, &error)) {
        if (!error.isEmpty())
            ShowMessage(error);
        return false;
    }
    slotEdited();
    return true;
}

void TFrmTechTileWeave::shiftSelected(TShiftDirection direction)
{
    if (m_mesh && m_assignment->ShiftCell(m_grid->Row(), m_grid->Col(), direction))
        slotEdited();
}

void TFrmTechTileWeave::clearSelected()
{
    if (m_mesh && m_assignment->ClearCell(m_grid->Row(), m_grid->Col()))
        m_grid->viewport()->update();
}

void TFrmTechTileWeave::paintCell(int col, int row, const QRect &rect)
{
    QPainter *p = m_grid->Canvas();
    if (!p || !m_mesh)
        return;
    const bool colourMode = m_assignment->Mode() == TAssignMode::Color;
    const int colour = m_assignment->ColorOfColumn(col);
    const bool hasColour = colourMode && colour < m_mesh->Colors.length();
    const TColor fill = hasColour ? m_mesh->Colors[colour] : TColor(0xFFFFFF);
    p->fillRect(rect, ToQColor(fill));
    if (row == 0) {
        QString text;
        if (colourMode)
            text = QString::number((col + 1) / std::max(m_mesh->WarpRepeat, 1));
        else if (col == 0)
            text = GetUiString(UiKey::SampleCard::Kind_Rod);
        else if (col == 1)
            text = GetUiString(UiKey::SampleCard::Kind_Selvedge);
        else
            text = GetUiString(UiKey::SampleCard::Kind_Heald);
        p->setPen(colourMode ? textColor(fill) : QColor(Qt::black));
        p->drawText(rect, Qt::AlignCenter, text);
        return;
    }
    const TSlotRef slot = m_assignment->SlotOfCell(row, col);
    const TWeaveArray &weave = m_assignment->Weave(slot);
    if (weave.isEmpty() || weave[0].isEmpty())
        return;
    const int w = weave.length(), h = weave[0].length();
    const int z = m_assignment->Zoom();
    p->save();
    p->setClipRect(rect);
    // Weave cells from the bottom-left corner, the last weft at the bottom.
    const int across = (rect.width() + z - 1) / z, down = (rect.height() + z - 1) / z;
    for (int i = 0; i < down; ++i) {
        const int weft = h - 1 - i % h;
        const int top = rect.bottom() + 1 - (i + 1) * z;
        for (int k = 0; k < across; ++k) {
            const TDynamicByteArray &warp = weave[k % w];
            const bool point = weft < warp.length() && warp[weft] == 1;
            p->fillRect(QRect(rect.left() + k * z, top, z, z), point ? Qt::yellow : Qt::blue);
        }
    }
    const QString size = QStringLiteral("%1 * %2").arg(w).arg(h);
    const QString name = QFileInfo(m_assignment->Name(slot)).completeBaseName();
    const QFontMetrics fm = p->fontMetrics();
    QRect line(rect.left(), rect.top(), fm.horizontalAdvance(size) + 2, fm.height());
    p->fillRect(line, Qt::white);
    p->setPen(Qt::black);
    p->drawText(line, Qt::AlignLeft | Qt::AlignVCenter, size);
    if (!name.isEmpty()) {
        line = QRect(rect.left(), line.bottom() + 1, fm.horizontalAdvance(name) + 2, fm.height());
        p->fillRect(line, Qt::white);
        p->drawText(line, Qt::AlignLeft | Qt::AlignVCenter, name);
    }
    p->restore();
}

QList<QImage> TFrmTechTileWeave::BuildLayers()
{
    if (!m_child || !m_mesh)
        return {};
    TPatternGrid &grid = m_child->PatternGrid();
    const TTileWeaveParam &param = grid.TileWeaveParam();
    QList<QImage> layers;
    QString error;
    if (!BuildLayerPictures(
            *m_mesh, grid.Picture(), grid.Palette(), TileMargins(param), param.FloatLength, layers, &error)) {
        ShowMessage(error);
        return {};
    }
    return layers;
}

void TFrmTechTileWeave::accept()
{
    if (!m_child || !m_mesh)
        return;
    const QList<QImage> layers = BuildLayers();
    if (layers.isEmpty())
        return;
    const QString base = m_child->Document().CaptionWithoutExtension();
    if (MakeLayerDocuments)
        MakeLayerDocuments(layers, base);
    close();
}

void TFrmTechTileWeave::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFrmTechTileWeave::closeEvent(QCloseEvent *event)
{
    // The design window is this window's child and goes with it: a weave drawn there and
    // not saved keeps both windows open when its question is cancelled.
    if (m_design && !m_design->close()) {
        event->ignore();
        return;
    }
    if (m_explorer)
        m_explorer->close();
    QWidget::closeEvent(event);
}
