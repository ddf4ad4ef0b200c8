#include "weave/ui/weavedesignwindow.h"

#include "core/settings/recentfiles.h"
#include "core/settings/settings.h"
#include "core/settings/sharedstate.h"
#include "core/settings/uitexts.h"
#include "core/ui/recentmenu.h"
#include "core/ui/savedialogquestion.h"
#include "weave/ui/addrowcoldialog.h"
#include "weave/ui/newweavedialog.h"
#include "weave/ui/ovwdialog.h"
#include "weave/ui/radiogroup.h"
#include "weave/ui/rotateangledialog.h"
#include "weave/ui/swapparamdialog.h"
#include "weave/ui/symmetrydialog.h"
#include "weave/ui/warpweftdialog.h"
#include "weave/ui/weavecombinedialog.h"
#include "weave/ui/weavegrid.h"
#include "weave/ui/weavelayersdialog.h"
#include "weave/weavefile.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// "name|masks|name|masks" to Qt's name filters.
QStringList NameFilters(const QString &filter)
{
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < fields.size(); i += 2) {
        QString name = fields.at(i);
        const int open = int(name.lastIndexOf(QLatin1Char('(')));
        if (open >= 0)
            name = name.left(open).trimmed();
        filters << name + QStringLiteral(" (")
                + fields.at(i + 1).split(QLatin1Char(';')).join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters;
}

QString DesignCaption()
{
    return GetUiString(UiKey::MainMenu::Design_Weave);
}

// The folder the open dialogs start in: the weave-open folder once one is set.
QString OpenFolder()
{
    return Folders().WeaveOpenDir.isEmpty() ? Folders().CurrentDir : Folders().WeaveOpenDir;
}

} // namespace

TfrmWeaveDesign::TfrmWeaveDesign(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmWeaveDesign"));
    setSizeGripEnabled(true);
    setDefaultQuestions();

    GrdWeave = new TWeaveGrid(this);
    GrdWeave->setObjectName(QStringLiteral("GrdWeave"));
    GrdWeave->SetWeave(&m_design.Weave().Cells());
    auto *splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(GrdWeave);
    splitter->addWidget(buildLayerPanel());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    StatusWarps = new QLabel(status);
    StatusWefts = new QLabel(status);
    StatusWarps->setObjectName(QStringLiteral("StatusWarps"));
    StatusWefts->setObjectName(QStringLiteral("StatusWefts"));
    status->addWidget(StatusWarps);
    status->addWidget(StatusWefts);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(buildMenus());
    layout->addWidget(splitter, 1);
    layout->addWidget(status);
    connectActions();

    connect(GrdWeave, &TWeaveGrid::CellPressed, this, [this](int col, int row, Qt::MouseButton button) {
        if (button == Qt::LeftButton || button == Qt::RightButton)
            m_design.MouseDown(col, row, button == Qt::LeftButton ? TWeaveButton::Left : TWeaveButton::Right);
        if (m_design.Dragging())
            GrdWeave->viewport()->setCursor(Qt::DragMoveCursor);
    });
    const auto keys = [](Qt::KeyboardModifiers m) {
        return TWeaveKeys { m.testFlag(Qt::ControlModifier), m.testFlag(Qt::ShiftModifier) };
    };
    connect(GrdWeave, &TWeaveGrid::CellMoved, this,
        [this, keys](int col, int row, Qt::KeyboardModifiers m) { m_design.MouseMove(col, row, keys(m)); });
    connect(
        GrdWeave, &TWeaveGrid::CellReleased, this, [this, keys](int col, int row, Qt::KeyboardModifiers m) {
            m_design.MouseUp(col, row, keys(m));
            GrdWeave->viewport()->unsetCursor();
        });
    m_design.OnChanged = [this] { refresh(); };
    m_design.OnUndoState = [this] { updateActions(); };

    rebuildRecentMenu(QString());
    refresh();
    // Big enough for the 8 x 8 weave and its layer view, and on the screen.
    QSize size(760, 520);
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableSize());
    resize(size);
}

TfrmWeaveDesign::~TfrmWeaveDesign()
{
    // The grid's last repaint must not reach a half-destroyed window.
    m_design.OnChanged = nullptr;
    m_design.OnUndoState = nullptr;
}

void TfrmWeaveDesign::setDefaultQuestions()
{
    AskSave = [this] {
        const auto answer
            = QMessageBox::question(this, DesignCaption(), GetUiString(UiKey::WeaveDesign::Save_Query),
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        return answer == QMessageBox::Yes ? TWeaveSaveAnswer::Yes
            : answer == QMessageBox::No   ? TWeaveSaveAnswer::No
                                          : TWeaveSaveAnswer::Cancel;
    };
    ChooseOpenFile = [this] { return TOvwDialog::GetWeaveFileName(this, OpenFolder()); };
    ChooseSaveFile = [this] {
        QFileDialog dialog(this, GetUiString(UiKey::MainMenu::Save_As), Folders().WeaveDir);
        dialog.setNameFilters(NameFilters(GetUiString(UiKey::WeaveDesign::Save_Filter)));
        dialog.setDefaultSuffix(QStringLiteral("OVW"));
        QString fileName;
        ExecSaveDialog(
            dialog, [](const QString &chosen, const QString &) { return chosen; }, fileName);
        return fileName;
    };
    ShowMessage = [this](const QString &text, const QString &caption) {
        QMessageBox::information(this, caption, text);
    };
    RunDialog = [](QDialog &dialog) { return dialog.exec(); };
}

QAction *TfrmWeaveDesign::addAction(
    QMenu *menu, const char *name, const QString &text, const QKeySequence &keys, const char *icon)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    if (!keys.isEmpty())
        action->setShortcut(keys);
    if (icon)
        action->setIcon(QIcon::fromTheme(QLatin1String(icon)));
    menu->addAction(action);
    m_actions.insert(QLatin1String(name), action);
    return action;
}

QAction *TfrmWeaveDesign::Action(const QString &name) const
{
    return m_actions.value(name);
}

QStringList TfrmWeaveDesign::ActionNames() const
{
    QStringList names = m_actions.keys();
    names.sort();
    return names;
}

QMenuBar *TfrmWeaveDesign::buildMenus()
{
    using namespace UiKey;
    auto *bar = new QMenuBar(this);
    FileMenu = bar->addMenu(GetUiString(MainMenu::Menu_File));
    addAction(FileMenu, "ActFileNew", GetUiString(MainMenu::New), QKeySequence::New, "document-new");
    addAction(FileMenu, "ActFileOpen", GetUiString(MainMenu::Open), QKeySequence::Open, "document-open");
    addAction(FileMenu, "ActFileSave", GetUiString(MainMenu::Save), QKeySequence::Save, "document-save");
    addAction(
        FileMenu, "ActFileSaveAs", GetUiString(MainMenu::Save_As), QKeySequence::SaveAs, "document-save-as");
    FileMenu->addSeparator();
    addAction(FileMenu, "ActFileAdd", GetUiString(WeaveDesign::Add_File), {}, "list-add");
    addAction(FileMenu, "ActAddNew", GetUiString(WeaveDesign::Add_New));
    addAction(FileMenu, "ActSaveBlock", GetUiString(WeaveDesign::Save_Block));
    FileMenu->addSeparator();
    addAction(FileMenu, "ActFileBrowser", GetUiString(WeaveDesign::File_Browser));
    FileMenu->addSeparator();
    addAction(
        FileMenu, "ActFileQuit", GetUiString(MainMenu::Exit_Hint), QKeySequence::Quit, "application-exit");

    QMenu *edit = bar->addMenu(GetUiString(WeaveDesign::Menu_Edit));
    addAction(edit, "ActUndo", GetUiString(MainMenu::Undo), QKeySequence::Undo, "edit-undo");
    addAction(edit, "ActRedo", GetUiString(MainMenu::Redo), QKeySequence::Redo, "edit-redo");
    edit->addSeparator();
    addAction(edit, "ActFillAll", GetUiString(WeaveDesign::Fill_All));
    addAction(edit, "ActClearAll", GetUiString(WeaveDesign::Clear_All), {}, "edit-clear");
    addAction(
        edit, "ActInvert", GetUiString(WeaveDesign::Invert), QKeySequence(QStringLiteral("Ctrl+Alt+C")));
    addAction(edit, "ActBackWeave", GetUiString(WeaveDesign::Back_Weave));

    QMenu *block = bar->addMenu(GetUiString(WeaveDesign::Menu_Block));
    addAction(block, "ActBlockDefine", GetUiString(WeaveDesign::Block_Define), {}, "edit-select")
        ->setCheckable(true);
    addAction(block, "ActFillBlock", GetUiString(WeaveDesign::Fill_Block));
    addAction(block, "ActClearBlock", GetUiString(WeaveDesign::Clear_Block));
    QMenu *shift = block->addMenu(GetUiString(WeaveDesign::Menu_Shift));
    addAction(shift, "ActShiftUp1", GetUiString(WeaveDesign::Shift_Up_1));
    addAction(shift, "ActShiftUp8", GetUiString(WeaveDesign::Shift_Up_8));
    addAction(shift, "ActShiftDown1", GetUiString(WeaveDesign::Shift_Down_1));
    addAction(shift, "ActShiftDown8", GetUiString(WeaveDesign::Shift_Down_8));
    addAction(shift, "ActShiftLeft1", GetUiString(WeaveDesign::Shift_Left_1));
    addAction(shift, "ActShiftLeft8", GetUiString(WeaveDesign::Shift_Left_8));
    addAction(shift, "ActShiftRight1", GetUiString(WeaveDesign::Shift_Right_1));
    addAction(shift, "ActShiftRight8", GetUiString(WeaveDesign::Shift_Right_8));

    QMenu *transform = bar->addMenu(GetUiString(WeaveDesign::Menu_Transform));
    addAction(transform, "ActSwapWarp", GetUiString(WeaveDesign::Swap_Warp));
    addAction(transform, "ActSwapWeft", GetUiString(WeaveDesign::Swap_Weft));
    transform->addSeparator();
    addAction(transform, "ActSwapUpDown", GetUiString(WeaveDesign::Swap_Up_Down));
    addAction(transform, "ActUpToDown", GetUiString(WeaveDesign::Up_To_Down));
    addAction(transform, "ActDownToUp", GetUiString(WeaveDesign::Down_To_Up));
    addAction(transform, "ActSwapLeftRight", GetUiString(WeaveDesign::Swap_Left_Right));
    addAction(transform, "ActLeftToRight", GetUiString(WeaveDesign::Left_To_Right));
    addAction(transform, "ActRightToLeft", GetUiString(WeaveDesign::Right_To_Left));
    addAction(transform, "ActSwapUpleftDownright", GetUiString(WeaveDesign::Swap_Upleft_Downright));
    addAction(transform, "ActUpleftToDownright", GetUiString(WeaveDesign::Upleft_To_Downright));
    addAction(transform, "ActDownrightToUpleft", GetUiString(WeaveDesign::Downright_To_Upleft));
    addAction(transform, "ActSwapUprightDownleft", GetUiString(WeaveDesign::Swap_Upright_Downleft));
    addAction(transform, "ActUprightToDownleft", GetUiString(WeaveDesign::Upright_To_Downleft));
    addAction(transform, "ActDownleftToUpright", GetUiString(WeaveDesign::Downleft_To_Upright));
    transform->addSeparator();
    addAction(transform, "ActRotate", GetUiString(WeaveDesign::Rotate), {}, "object-rotate-right");
    addAction(transform, "ActSymmetrize", GetUiString(WeaveDesign::Symmetrize));
    QMenu *twill = transform->addMenu(GetUiString(WeaveDesign::Menu_Twill));
    addAction(twill, "ActLeftToRightInvertOut", GetUiString(WeaveDesign::Warp_Broken_Out));
    addAction(twill, "ActUpToDownInvertOut", GetUiString(WeaveDesign::Weft_Broken_Out));
    addAction(twill, "ActLeftToRightInvertIn", GetUiString(WeaveDesign::Warp_Broken_In));
    addAction(twill, "ActUpToDownInvertIn", GetUiString(WeaveDesign::Weft_Broken_In));
    addAction(twill, "ActWarpHillOut", GetUiString(WeaveDesign::Warp_Hill_Out));
    addAction(twill, "ActWeftHillOut", GetUiString(WeaveDesign::Weft_Hill_Out));
    addAction(twill, "ActWarpHillIn", GetUiString(WeaveDesign::Warp_Hill_In));
    addAction(twill, "ActWeftHillIn", GetUiString(WeaveDesign::Weft_Hill_In));
    transform->addSeparator();
    addAction(transform, "ActTileWeave", GetUiString(WeaveDesign::Tile_Weave));
    addAction(transform, "ActAddDelRowCol", GetUiString(WeaveDesign::Add_Del_Row_Col));

    QMenu *view = bar->addMenu(GetUiString(WeaveDesign::Menu_View));
    QAction *zoomIn = addAction(view, "ActZoomIn", GetUiString(MainMenu::Zoom_In), {}, "zoom-in");
    zoomIn->setShortcuts({ QKeySequence(QStringLiteral("Ctrl+=")), QKeySequence(QKeySequence::ZoomIn) });
    addAction(view, "ActZoomOut", GetUiString(MainMenu::Zoom_Out), QKeySequence::ZoomOut, "zoom-out");
    view->addSeparator();
    addAction(view, "ActWarpWeftLayers", GetUiString(WeaveDesign::Layers));
    addAction(view, "ActEditLayers", GetUiString(WeaveDesign::Edit_Layers))->setCheckable(true);
    // The shortcuts work wherever the focus is in the window.
    for (QAction *a : std::as_const(m_actions))
        a->setShortcutContext(Qt::WindowShortcut);
    QWidget::addActions(m_actions.values());
    return bar;
}

QWidget *TfrmWeaveDesign::buildLayerPanel()
{
    auto *panel = new QWidget(this);
    auto *column = new QVBoxLayout(panel);
    column->setContentsMargins(4, 0, 0, 0);
    auto *pair = new QGridLayout;
    SpnWarpLayer = new QSpinBox(panel);
    SpnWeftLayer = new QSpinBox(panel);
    SpnWarpLayer->setObjectName(QStringLiteral("SpnWarpLayer"));
    SpnWeftLayer->setObjectName(QStringLiteral("SpnWeftLayer"));
    pair->addWidget(new QLabel(GetUiString(UiKey::WeaveDesign::Warp_Layer), panel), 0, 0);
    pair->addWidget(SpnWarpLayer, 0, 1);
    pair->addWidget(new QLabel(GetUiString(UiKey::WeaveDesign::Weft_Layer), panel), 1, 0);
    pair->addWidget(SpnWeftLayer, 1, 1);
    column->addLayout(pair);
    GrdLayers = new TWeaveGrid(panel);
    GrdLayers->setObjectName(QStringLiteral("GrdLayers"));
    GrdLayers->SetWeave(&m_design.Weave().Cells(), &m_design.LayerViewColumns(), &m_design.LayerViewRows());
    column->addWidget(GrdLayers, 1);
    const auto pairChanged = [this] { m_design.SetLayerPair(SpnWarpLayer->value(), SpnWeftLayer->value()); };
    connect(SpnWarpLayer, &QSpinBox::valueChanged, this, pairChanged);
    connect(SpnWeftLayer, &QSpinBox::valueChanged, this, pairChanged);
    return panel;
}

void TfrmWeaveDesign::connectActions()
{
    const auto on = [this](const char *name, auto &&fn) {
        connect(Action(QLatin1String(name)), &QAction::triggered, this, fn);
    };
    const struct {
        const char *name;
        TWeaveAction action;
    } plain[] = {
        { "ActFillAll", TWeaveAction::FillAll },
        { "ActClearAll", TWeaveAction::ClearAll },
        { "ActFillBlock", TWeaveAction::FillBlock },
        { "ActClearBlock", TWeaveAction::ClearBlock },
        { "ActInvert", TWeaveAction::Invert },
        { "ActSwapUpDown", TWeaveAction::SwapUpDown },
        { "ActUpToDown", TWeaveAction::UpToDown },
        { "ActDownToUp", TWeaveAction::DownToUp },
        { "ActSwapLeftRight", TWeaveAction::SwapLeftRight },
        { "ActLeftToRight", TWeaveAction::LeftToRight },
        { "ActRightToLeft", TWeaveAction::RightToLeft },
        { "ActSwapUpleftDownright", TWeaveAction::SwapUpleftDownright },
        { "ActUpleftToDownright", TWeaveAction::UpleftToDownright },
        { "ActDownrightToUpleft", TWeaveAction::DownrightToUpleft },
        { "ActSwapUprightDownleft", TWeaveAction::SwapUprightDownleft },
        { "ActUprightToDownleft", TWeaveAction::UprightToDownleft },
        { "ActDownleftToUpright", TWeaveAction::DownleftToUpright },
        { "ActLeftToRightInvertOut", TWeaveAction::LeftToRightInvertOut },
        { "ActUpToDownInvertOut", TWeaveAction::UpToDownInvertOut },
        { "ActLeftToRightInvertIn", TWeaveAction::LeftToRightInvertIn },
        { "ActUpToDownInvertIn", TWeaveAction::UpToDownInvertIn },
        { "ActWarpHillOut", TWeaveAction::WarpHillOut },
        { "ActWeftHillOut", TWeaveAction::WeftHillOut },
        { "ActWarpHillIn", TWeaveAction::WarpHillIn },
        { "ActWeftHillIn", TWeaveAction::WeftHillIn },
        { "ActShiftUp1", TWeaveAction::ShiftUp1 },
        { "ActShiftUp8", TWeaveAction::ShiftUp8 },
        { "ActShiftDown1", TWeaveAction::ShiftDown1 },
        { "ActShiftDown8", TWeaveAction::ShiftDown8 },
        { "ActShiftLeft1", TWeaveAction::ShiftLeft1 },
        { "ActShiftLeft8", TWeaveAction::ShiftLeft8 },
        { "ActShiftRight1", TWeaveAction::ShiftRight1 },
        { "ActShiftRight8", TWeaveAction::ShiftRight8 },
        { "ActBackWeave", TWeaveAction::BackWeave },
    };
    for (const auto &p : plain) {
        const TWeaveAction action = p.action;
        on(p.name, [this, action] { m_design.Run(action); });
        m_enabledBy.insert(Action(QLatin1String(p.name)), action);
    }
    const struct {
        const char *name;
        TWeaveAction action;
    } gated[] = {
        { "ActSaveBlock", TWeaveAction::SaveBlock },
        { "ActUndo", TWeaveAction::Undo },
        { "ActRedo", TWeaveAction::Redo },
        { "ActTileWeave", TWeaveAction::TileWeave },
        { "ActAddDelRowCol", TWeaveAction::AddDelRowCol },
    };
    for (const auto &g : gated)
        m_enabledBy.insert(Action(QLatin1String(g.name)), g.action);

    on("ActFileNew", [this] { newWeave(); });
    on("ActFileOpen", [this] { openWeave(); });
    on("ActFileSave", [this] { FileSave(); });
    on("ActFileSaveAs", [this] { FileSaveAs(); });
    on("ActFileAdd", [this] { addFile(); });
    on("ActAddNew", [this] { addNew(); });
    on("ActSaveBlock", [this] { saveBlock(); });
    on("ActFileQuit", [this] { close(); });
    on("ActUndo", [this] { m_design.Undo(); });
    on("ActRedo", [this] { m_design.Redo(); });
    connect(Action(QStringLiteral("ActBlockDefine")), &QAction::toggled, this,
        [this](bool on) { m_design.SetBlockDefineMode(on); });
    on("ActSwapWarp", [this] {
        TFrmSwapParam dialog(this);
        if (RunDialog(dialog) == QDialog::Accepted)
            m_design.SwapWarps(dialog.First(), dialog.Second());
    });
    on("ActSwapWeft", [this] {
        TFrmSwapParam dialog(this);
        if (RunDialog(dialog) == QDialog::Accepted)
            m_design.SwapWefts(dialog.First(), dialog.Second());
    });
    on("ActRotate", [this] {
        TFrmRotateAngle dialog(this);
        if (RunDialog(dialog) == QDialog::Accepted)
            m_design.Rotate(dialog.ItemIndex());
    });
    on("ActSymmetrize", [this] {
        TFrmSymmParam dialog(this);
        if (RunDialog(dialog) == QDialog::Accepted)
            m_design.Symmetrize(dialog.Positions(), dialog.Amounts(), dialog.AlongWarps());
    });
    on("ActTileWeave", [this] { runTiled(); });
    on("ActAddDelRowCol", [this] {
        TFrmAddDelRowCol dialog(&m_design.Weave(), this);
        if (RunDialog(dialog) == QDialog::Accepted)
            m_design.AddDelRowCol(dialog.Edit(), dialog.Start(), dialog.Count());
    });
    on("ActZoomIn", [this] { m_design.ZoomIn(); });
    on("ActZoomOut", [this] { m_design.ZoomOut(); });
    on("ActWarpWeftLayers", [this] { layersDialog(); });
    connect(Action(QStringLiteral("ActEditLayers")), &QAction::toggled, this,
        [this](bool on) { m_design.SetLayerEditing(on); });
}

void TfrmWeaveDesign::refresh()
{
    const TWeave &weave = m_design.Weave();
    GrdWeave->SetCellSize(TWeaveDesign::CellSize());
    GrdLayers->SetCellSize(TWeaveDesign::CellSize());
    TWeaveRect block, dragged;
    std::optional<TWeaveRect> shown, moved;
    if (m_design.ShownBlock(block))
        shown = block;
    if (m_design.DraggedBlock(dragged))
        moved = dragged;
    GrdWeave->SetFrames(shown, moved);
    GrdLayers->Refresh();
    if (weave.WarpCount() != m_shownWarps || weave.WeftCount() != m_shownWefts) {
        m_shownWarps = weave.WarpCount();
        m_shownWefts = weave.WeftCount();
        StatusWarps->setText(GetUiMessage(UiKey::String::ColName) + QString::number(m_shownWarps));
        StatusWefts->setText(GetUiMessage(UiKey::String::RowName) + QString::number(m_shownWefts));
    }
    {
        const QSignalBlocker a(SpnWarpLayer), b(SpnWeftLayer);
        SpnWarpLayer->setRange(1, std::max(weave.WarpLayerMax(), 1));
        SpnWeftLayer->setRange(1, std::max(weave.WeftLayerMax(), 1));
        SpnWarpLayer->setValue(m_design.WarpLayer());
        SpnWeftLayer->setValue(m_design.WeftLayer());
    }
    updateActions();
    updateCaption();
}

void TfrmWeaveDesign::updateActions()
{
    for (auto it = m_enabledBy.cbegin(); it != m_enabledBy.cend(); ++it)
        it.key()->setEnabled(m_design.Enabled(it.value()));
}

void TfrmWeaveDesign::updateCaption()
{
    setWindowTitle(DesignCaption() + QLatin1Char('-') + m_design.FileName());
}

void TfrmWeaveDesign::rebuildRecentMenu(const QString &added)
{
    // The entries go before Quit; the entries already there are replaced.
    int position = 0;
    for (QAction *a : FileMenu->actions()) {
        if (a == Action(QStringLiteral("ActFileQuit")))
            break;
        if (!a->property("dorwenRecentEntry").toBool())
            ++position;
    }
    // The list keeps as many weaves as the main window's recent list keeps files.
    if (!added.isEmpty())
        AddToRecentList(added, QLatin1String(WeaveRecentSection), ReadMaxRecentFile());
    RefreshRecentMenu(
        added, FileMenu, QLatin1String(WeaveRecentSection), true,
        [this](const QString &path) { openRecent(path); }, position);
}

bool TfrmWeaveDesign::QuerySave()
{
    return m_design.SaveQuery(AskSave, ChooseSaveFile, [this](const QString &why) {
        ShowMessage(GetUiString(UiKey::WeaveDesign::Save_Failed).arg(why), DesignCaption());
    });
}

bool TfrmWeaveDesign::OpenFile(const QString &fileName)
{
    QString error;
    if (!m_design.Open(fileName, &error)) {
        ShowMessage(error, DesignCaption());
        return false;
    }
    rebuildRecentMenu(fileName);
    updateCaption();
    return true;
}

bool TfrmWeaveDesign::SaveFile(const QString &fileName)
{
    QString error;
    if (!m_design.Save(fileName, &error)) {
        ShowMessage(GetUiString(UiKey::WeaveDesign::Save_Failed).arg(error), DesignCaption());
        return false;
    }
    rebuildRecentMenu(fileName);
    updateCaption();
    return true;
}

bool TfrmWeaveDesign::FileSave()
{
    if (m_design.Untitled())
        return FileSaveAs();
    return SaveFile(m_design.FileName());
}

bool TfrmWeaveDesign::FileSaveAs()
{
    const QString name = ChooseSaveFile();
    return !name.isEmpty() && SaveFile(name);
}

void TfrmWeaveDesign::newWeave()
{
    if (!QuerySave())
        return;
    TFrmNewWeave dialog(this);
    if (RunDialog(dialog) == QDialog::Accepted)
        m_design.NewWeave(dialog.Weave().WarpCount(), dialog.Weave().WeftCount());
}

void TfrmWeaveDesign::openWeave()
{
    if (!QuerySave())
        return;
    const QString name = ChooseOpenFile();
    if (!name.isEmpty())
        OpenFile(name);
}

void TfrmWeaveDesign::openRecent(const QString &fileName)
{
    if (QuerySave())
        OpenFile(fileName);
}

void TfrmWeaveDesign::addFile()
{
    const QString name = ChooseOpenFile();
    if (name.isEmpty())
        return;
    TWeaveArray cells;
    if (!LoadWeaveFile(name, cells) || cells.isEmpty()) {
        ShowMessage(GetUiString(UiKey::WeaveDesign::Open_Failed),
            GetUiString(UiKey::WeaveDesign::Open_Failed_Caption));
        return;
    }
    combineWith(cells);
}

void TfrmWeaveDesign::addNew()
{
    TFrmNewWeave dialog(this);
    dialog.setWindowTitle(GetUiString(UiKey::WeaveDesign::Add_New));
    if (RunDialog(dialog) != QDialog::Accepted)
        return;
    combineWith(dialog.Weave().Cells());
}

void TfrmWeaveDesign::combineWith(const TWeaveArray &other)
{
    const std::vector<TCombineMode> modes = m_design.CombineModes();
    TFrmWeaveCombine dialog(this);
    // Only the places the weave can take now; item i is then modes[i].
    for (int item = dialog.RadGrpPos->Count() - 1; item >= 0; --item)
        if (std::find(modes.begin(), modes.end(), TCombineMode(item)) == modes.end())
            dialog.RadGrpPos->DeleteItem(item);
    if (dialog.RadGrpPos->ItemIndex() < 0)
        dialog.RadGrpPos->SetItemIndex(0);
    if (RunDialog(dialog) != QDialog::Accepted)
        return;
    const int index = dialog.ItemIndex();
    if (index >= 0 && index < int(modes.size()))
        m_design.Combine(other, modes[std::size_t(index)]);
}

void TfrmWeaveDesign::saveBlock()
{
    if (!m_design.Enabled(TWeaveAction::SaveBlock))
        return;
    const QString name = ChooseSaveFile();
    if (name.isEmpty())
        return;
    QString error;
    if (!m_design.SaveBlock(name, &error))
        ShowMessage(GetUiString(UiKey::WeaveDesign::Save_Failed).arg(error), DesignCaption());
}

void TfrmWeaveDesign::layersDialog()
{
    TFrmLayers dialog(m_design.Weave(), this);
    if (RunDialog(dialog) == QDialog::Accepted)
        m_design.LayersChanged();
}

void TfrmWeaveDesign::runTiled()
{
    TFrmWarpWeft dialog(this);
    dialog.setWindowTitle(GetUiString(UiKey::WeaveDesign::Tile_Caption));
    if (RunDialog(dialog) == QDialog::Accepted)
        m_design.TileWeave(dialog.Warps(), dialog.Wefts());
}

void TfrmWeaveDesign::reject()
{
    if (m_design.Escape()) {
        GrdWeave->viewport()->unsetCursor();
        return;
    }
    if (!m_closeAgreed && !QuerySave())
        return;
    m_closeAgreed = true;
    QDialog::reject();
}

void TfrmWeaveDesign::closeEvent(QCloseEvent *event)
{
    if (!m_closeAgreed && !QuerySave()) {
        event->ignore();
        return;
    }
    m_closeAgreed = true;
    QDialog::closeEvent(event);
}

void TfrmWeaveDesign::showEvent(QShowEvent *event)
{
    m_closeAgreed = false;
    QDialog::showEvent(event);
}

TfrmWeaveDesign *OpenWeaveDesign(QWidget *parent, const QString &fileName, bool modal)
{
    auto *window = new TfrmWeaveDesign(parent);
    if (!fileName.isEmpty() && !window->OpenFile(fileName)) {
        delete window;
        return nullptr;
    }
    if (modal) {
        window->exec();
        delete window;
        return nullptr;
    }
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    return window;
}
