// The main window's drawing tools (TMainWindowTools) and the keys that act on the active
// document's grid.
#include "shell/ui/mainwindowtools.h"

#include "shell/ui/mainwindow.h"

#include "core/base/messages.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "editor/ui/patterngridview.h"
#include "editor/ui/selectedcolorwindow.h"
#include "editor/ui/spraydialog.h"
#include "shell/mainactions.h"
#include "shell/ui/documentwindow.h"
#include "shell/ui/mainwindowedit.h"
#include "shell/ui/palettebarpanel.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileInfo>
#include <QFocusEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolBar>
#include <QToolButton>

#include <initializer_list>
#include <optional>

namespace {

// The tool bar of single tools, and the fly-out buttons, each a row of tools that share
// one button (the button shows the tool chosen last).
const std::initializer_list<const char *> kSingleTools
    = { "ActMove", "ActMoveGrid", "ActAbsorbColor", "ActFillColor", "ActSprayer", "ActChangeColor",
          "ActRuber", "ActInsertWord", "ActMouseSelect", "ActHorzCut", "ActVertCut", "ActBuildRectBmp" };

struct TFlyOut {
    const char *Name;
    std::initializer_list<const char *> Actions;
    // A white line along the top edge sets the row off from the button it drops from.
    bool TopLine = true;
};

// A fly-out row: a menu of tools, drawn as a menu is, with the white top line if asked.
class TFlyOutMenu : public QMenu {
public:
    TFlyOutMenu(bool topLine, QWidget *parent)
        : QMenu(parent)
        , m_topLine(topLine)
    {
    }

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QMenu::paintEvent(event);
        if (!m_topLine)
            return;
        QPainter painter(this);
        painter.setPen(QPen(Qt::white, 1));
        painter.drawLine(0, 0, width() + 1, 0);
    }

private:
    bool m_topLine;
};
const std::initializer_list<TFlyOut> kFlyOuts = {
    { "TbrDefineArea1",
        { "ActDefineRectangle", "ActDefineCircle", "ActDefineHorizontalLine", "ActDefineVerticalLine",
            "ActMagicStick" } },
    { "TbrDefineArea2", { "ActDefineFreePointLine", "ActDefineBreakPointLine", "ActDefineCurveLine" } },
    { "TbrLine", { "ActBeeLine", "ActArc", "ActFreeLine", "ActBreakLine", "ActCurveLine" } },
    { "TbrShape", { "ActRectangle", "ActCircle", "ActConcentricCircle" } },
    { "TbrFilledShape",
        { "ActFilledRectangle", "ActFilledCircle", "ActFilledFreeLine", "ActFilledArc", "ActFilledCurveLine",
            "ActFilledBreakLine" },
        false },
    { "TbrColor", { "ActClearMottleByRect", "ActClearMottleByCircle" } },
};

// The tool bar of the commands most used.
const std::initializer_list<const char *> kCommandTools = { "ActBrowse", "ActFileSave", "ActUndo", "ActRedo",
    "ActZoomIn", "ActZoomOut", "ActTileWeave", "ActDesignCard", "ActBuildPick" };

// Whether a tool bar offers the action: only a built one is a working button.
bool offered(const char *name)
{
    const TMainActionInfo *info = FindMainAction(name);
    return info && info->Status == TActionStatus::Built;
}

// The icons come from the Breeze theme where it is installed (the desktop's theme may lack
// the drawing tools' icons), looked up in every data folder's icon folder.
void useIconTheme()
{
    QStringList paths = QIcon::themeSearchPaths();
    const QStringList dataIcons = QStandardPaths::locateAll(
        QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory);
    for (const QString &dir : dataIcons + QStringList { QStringLiteral("/usr/share/icons") })
        if (!paths.contains(dir))
            paths.append(dir);
    QIcon::setThemeSearchPaths(paths);
    for (const QString &dir : std::as_const(paths))
        if (QFileInfo::exists(dir + QStringLiteral("/breeze/index.theme"))) {
            QIcon::setThemeName(QStringLiteral("breeze"));
            break;
        }
}

QIcon actionIcon(const char *icon)
{
    const QString name = QLatin1String(icon);
    return name.startsWith(QLatin1Char(':')) ? QIcon(name) : QIcon::fromTheme(name);
}
// A fly-out button: the row's built tools in its menu, the button showing the one chosen last.
QToolButton *makeFlyOutButton(const TMainForm &form, const TFlyOut &fly, QToolBar *bar)
{
    auto *button = new QToolButton(bar);
    button->setObjectName(QStringLiteral("Btn") + QLatin1String(fly.Name).mid(3));
    auto *menu = new TFlyOutMenu(fly.TopLine, button);
    menu->setObjectName(QLatin1String(fly.Name));
    for (const char *name : fly.Actions)
        if (offered(name))
            menu->addAction(form.Action(name));
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setMenu(menu);
    button->setDefaultAction(menu->actions().first());
    // The button stands for the tool of its row chosen last.
    QObject::connect(menu, &QMenu::triggered, button, &QToolButton::setDefaultAction);
    return button;
}

// The tool key a key of the keyboard stands for, if any.
std::optional<TToolKey> toolKeyOf(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_B:
        return TToolKey::Enter;
    case Qt::Key_Delete:
        return TToolKey::Delete;
    case Qt::Key_Space:
        return TToolKey::Space;
    default:
        return std::nullopt;
    }
}

// The arrows scroll the document's grid, plus and minus zoom it; false for other keys.
bool viewKey(TMDIChild &child, int key, bool ctrl)
{
    TPatternGrid &grid = child.PatternGrid();
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        child.GridView()->setFocus(Qt::OtherFocusReason);
        grid.HandleArrowKey(key, ctrl);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        // With the needle move the selection's content goes up over the picture's height.
        grid.MoveWarp() ? void(grid.MoveRegionContent(-3)) : grid.ZoomIn();
        return true;
    case Qt::Key_Minus:
        grid.MoveWarp() ? void(grid.MoveRegionContent(3)) : grid.ZoomOut();
        return true;
    default:
        return false;
    }
}
} // namespace

TMainWindowTools::TMainWindowTools(TMainForm &form)
    : m_form(form)
{
    m_toolGroup = new QActionGroup(&m_form);
    m_toolGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (const TMainActionInfo &info : MainActions()) {
        if (info.Menu != TMainMenu::ToolBar || info.Tool == TToolId::NoTool
            || info.Status != TActionStatus::Built)
            continue;
        const int tool = ToolIdValue(info.Tool);
        m_form.SetActionHandler(info.Name, [this, tool] { ActFreeLineExecute(tool); });
        QAction *action = m_form.Action(info.Name);
        action->setCheckable(true);
        m_toolGroup->addAction(action);
    }

    useIconTheme();
    for (const TMainActionInfo &info : MainActions())
        if (const char *icon = MainActionIcon(info.Name))
            m_form.Action(info.Name)->setIcon(actionIcon(icon));

    // The commands most used, then the drawing tools: a compact column of icons, the caption
    // as the tooltip. A tool not built yet is not offered.
    auto *commands = new QToolBar(&m_form);
    commands->setObjectName(QStringLiteral("TbrCommands"));
    m_form.addToolBar(Qt::TopToolBarArea, commands);
    for (const char *name : kCommandTools)
        commands->addAction(m_form.Action(name));

    auto *tools = new QToolBar(&m_form);
    tools->setObjectName(QStringLiteral("TbrTools"));
    m_form.addToolBar(Qt::LeftToolBarArea, tools);
    for (const char *name : kSingleTools)
        if (offered(name))
            tools->addAction(m_form.Action(name));
    for (const TFlyOut &fly : kFlyOuts)
        tools->addWidget(makeFlyOutButton(m_form, fly, tools));
    for (QToolBar *bar : { commands, tools }) {
        bar->setIconSize(QSize(22, 22));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }

    auto *pens = new QToolBar(&m_form);
    pens->setObjectName(QStringLiteral("TbrPenWidth"));
    m_form.addToolBar(Qt::TopToolBarArea, pens);
    const auto spin = [&](const char *name, int value, void (TPatternGrid::*set)(int)) {
        auto *box = new QSpinBox(pens);
        box->setObjectName(QLatin1String(name));
        box->setRange(1, 99);
        box->setValue(std::clamp(value, 1, 99));
        connect(box, &QSpinBox::valueChanged, this, [this, set](int width) {
            for (TMDIChild *child : m_form.Children())
                (child->PatternGrid().*set)(width);
            // Without a document the width waits in the running state for the next one.
            if (m_form.Children().isEmpty())
                (set == &TPatternGrid::SetHorzPenWidth ? RunState().HorzWidth : RunState().VertWidth) = width;
        });
        pens->addWidget(box);
        return box;
    };
    m_horzWidthEdit = spin("RdtHorzWidth", RunState().HorzWidth, &TPatternGrid::SetHorzPenWidth);
    m_vertWidthEdit = spin("RdtVertWidth", RunState().VertWidth, &TPatternGrid::SetVertPenWidth);
    showCurrentTool();
}

// Choosing the spray tool while it is the tool already opens its settings; otherwise the
// tool becomes the current one, in the active document's grid too.
void TMainWindowTools::ActFreeLineExecute(int toolId)
{
    if (toolId < 0 || toolId > MaxToolId)
        return;
    const TToolId id = TToolId(toolId);
    if (id == TToolId::Sprayer && RunState().CurrentToolId == TToolId::Sprayer) {
        TSprayOption option = StartSettings().SprayOption;
        if (m_askSprayOption ? m_askSprayOption(option) : askSprayOption(option)) {
            StartSettings().SprayOption = option;
            WriteSprayOption(option);
            for (TMDIChild *child : m_form.Children())
                child->PatternGrid().SetSprayOption(option);
        }
    }
    RunState().CurrentToolId = id;
    // The palette bar shows the absorb-colour cursor with that tool, document or not.
    if (TFramPalette *bar = m_form.PaletteBar())
        bar->SetTool(toolId);
    if (TMDIChild *child = m_form.ActiveChild())
        child->PatternGrid().SetDrawTool(id); // the grid tells the tool buttons
    else
        showCurrentTool();
}

bool TMainWindowTools::askSprayOption(TSprayOption &option)
{
    TFrmSetSpray dialog(&m_form);
    dialog.SetValues(option);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    option = dialog.Values();
    return true;
}

// The button of the current tool is pressed, the others released; the circle of the
// clear-mottle pair shows on the rectangle's button.
void TMainWindowTools::showCurrentTool()
{
    if (!m_toolGroup)
        return;
    int shown = ToolIdValue(RunState().CurrentToolId);
    if (shown == ToolIdValue(TToolId::ClearMottleByCircle))
        shown = ToolIdValue(TToolId::ClearMottleByRect);
    QAction *current = nullptr;
    for (QAction *action : m_toolGroup->actions())
        if (action->data().toInt() == shown && action->objectName() != QLatin1String("ActRevise")) {
            current = action;
            break;
        }
    if (current) {
        current->setChecked(true);
        // A fly-out button shows the current tool of its row.
        for (auto *button : m_form.findChildren<QToolButton *>())
            if (button->menu() && button->menu()->actions().contains(current))
                button->setDefaultAction(current);
    } else if (QAction *checked = m_toolGroup->checkedAction()) {
        checked->setChecked(false);
    }
}

void TMainWindowTools::showPenWidths(int horz, int vert)
{
    if (!m_horzWidthEdit)
        return;
    for (auto [box, value] : { std::pair { m_horzWidthEdit, horz }, std::pair { m_vertWidthEdit, vert } }) {
        const QSignalBlocker quiet(box);
        box->setValue(value);
    }
}

bool TMainWindowTools::HandleNotification(const TMessageEvent &message)
{
    switch (message.Message()) {
    case WM_TOOLCHANGED:
        showCurrentTool();
        return true;
    case WM_PENWIDTH:
        showPenWidths(int(message.WParam), int(message.LParam));
        return true;
    default:
        return false;
    }
}

// A new document's grid takes the current tool, the pen widths and the cross-hair.
void TMainWindowTools::ApplyToolSettings(TPatternGrid &grid)
{
    grid.SetHorzPenWidth(RunState().HorzWidth);
    grid.SetVertPenWidth(RunState().VertWidth);
    TCursorStyleOption crossHair;
    ReadCursorStyle(crossHair);
    grid.SetCrossHair(crossHair);
    grid.SetDrawTool(RunState().CurrentToolId);
}

// The keys reach this window when the grid or the window itself had the focus and did not
// take them: a key typed into an edit box (of a tool window, a dialog, or this window's own
// spin edits) is never taken here.
void TMainForm::keyPressEvent(QKeyEvent *event)
{
    TMDIChild *child = ActiveChild();
    QWidget *focus = QApplication::focusWidget();
    const bool ours = child
        && (!focus || focus == this || focus == m_mdi || focus == child || child->GridView() == focus
            || child->GridView()->isAncestorOf(focus));
    if (ours) {
        if (const std::optional<TToolKey> key = toolKeyOf(event->key())) {
            // Space applies the selected-colours window first, as its own key would.
            if (*key == TToolKey::Space)
                if (auto *edit = findChild<TMainWindowEdit *>(QStringLiteral("MainWindowEdit"));
                    edit && edit->SelectedColorWindow())
                    edit->SelectedColorWindow()->Apply();
            child->PatternGrid().HandleToolKey(*key);
            event->accept();
            return;
        }
        if (viewKey(*child, event->key(), event->modifiers() & Qt::ControlModifier)) {
            event->accept();
            return;
        }
    }
    QMainWindow::keyPressEvent(event);
}

// The focus the main window itself receives goes on to the document's grid, where the keys
// and the wheel are meant to act.
void TMainForm::focusInEvent(QFocusEvent *event)
{
    QMainWindow::focusInEvent(event);
    if (TMDIChild *child = ActiveChild())
        child->GridView()->setFocus(event->reason());
}
