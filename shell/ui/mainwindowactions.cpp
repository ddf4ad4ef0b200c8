// The main window's actions: the menus built from the action table, the captions, and the
// commands the window's parts give the actions.
//
// Every action of the table exists from the start, so its place in the menus never
// depends on which commands are built. An action is enabled when it has a command (and,
// for a document command, when a document is open); a planned action has none yet and stays
// disabled; an action that has never had a command (inert) is shown enabled and does
// nothing, as it always has.
#include "shell/ui/mainwindow.h"

#include "core/settings/uitexts.h"
#include "core/ui/uitextsetters.h"
#include "shell/mainactions.h"
#include "shell/ui/documentwindow.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

namespace {
// A caption for an action that has no interface text: its name without "Act", the words
// parted ("ActCopyWithColor" -> "Copy With Color").
QString captionFromName(const char *name)
{
    QString text = QLatin1String(name);
    if (text.startsWith(QLatin1String("Act")))
        text.remove(0, 3);
    QString caption;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('_')) {
            caption += QLatin1Char(' ');
            continue;
        }
        if (i > 0 && c.isUpper() && text.at(i - 1).isLower())
            caption += QLatin1Char(' ');
        caption += c;
    }
    return caption;
}
// The platform's keys of a standard command, with the keys in common use that some platforms
// leave out (Redo answers both Ctrl+Y and Ctrl+Shift+Z; Save As has Ctrl+Shift+S).
QList<QKeySequence> standardKeys(QKeySequence::StandardKey key)
{
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    QList<QKeySequence> usual;
    if (key == QKeySequence::Redo)
        usual = { QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z) };
    else if (key == QKeySequence::SaveAs)
        usual = { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S) };
    for (const QKeySequence &sequence : std::as_const(usual))
        if (!keys.contains(sequence))
            keys.append(sequence);
    return keys;
}
} // namespace

void TMainForm::setupMenus()
{
    // The menus first, so that every action finds its menu; a sub-menu follows its parent.
    std::map<TMainMenu, QMenu *> menus;
    for (const TMainMenuInfo &info : MainMenus()) {
        QMenu *menu = info.Parent == TMainMenu::None ? menuBar()->addMenu(QString())
                                                     : menus.at(info.Parent)->addMenu(QString());
        menu->setObjectName(QLatin1String(info.Name));
        menus[info.Menu] = menu;
    }
    m_fileMenu = menus.at(TMainMenu::File);

    const std::span<const TMainActionInfo> table = MainActions();
    m_actions.resize(table.size());
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TMainActionInfo &info = table[i];
        TActionSlot &slot = m_actions[i];
        slot.Info = &info;
        // The language sub-menu is captioned by its own action.
        if (info.Menu == TMainMenu::Window && std::string_view(info.Name) == "ActLanguage") {
            slot.Action = menus.at(TMainMenu::Language)->menuAction();
            continue;
        }
        auto *action = new QAction(captionFromName(info.Name), this);
        action->setObjectName(QLatin1String(info.Name));
        if (info.Tool != TToolId::NoTool)
            action->setData(ToolIdValue(info.Tool));
        else if (info.Language != TMainActionInfo::NoLanguage)
            action->setData(info.Language);
        // The platform's keys, shown in the menu beside the caption.
        if (info.Shortcut != QKeySequence::UnknownKey)
            action->setShortcuts(standardKeys(info.Shortcut));
        slot.Action = action;
        if (const auto it = menus.find(info.Menu); it != menus.end()) {
            // The recent files are listed between the calculator and exit.
            if (std::string_view(info.Name) == "ActFileExit")
                m_recentAnchor = it->second->addSeparator();
            it->second->addAction(action);
        }
        // Chosen: the command given, if any (inert actions and those waiting for a command
        // have none and do nothing).
        connect(action, &QAction::triggered, this, [this, i] { runAction(i); });
    }
    connect(m_mdi, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *) { updateDocumentActions(); });
}

QAction *TMainForm::Action(std::string_view name) const
{
    for (const TActionSlot &slot : m_actions)
        if (name == slot.Info->Name)
            return slot.Action;
    return nullptr;
}

TMainForm::TActionSlot *TMainForm::actionSlot(const char *name)
{
    for (TActionSlot &slot : m_actions)
        if (std::string_view(name) == slot.Info->Name)
            return &slot;
    Q_ASSERT_X(false, "TMainForm::actionSlot", name);
    return nullptr;
}

void TMainForm::SetActionHandler(const char *name, std::function<void()> handler)
{
    if (TActionSlot *slot = actionSlot(name)) {
        slot->Handler = std::move(handler);
        slot->DocumentHandler = nullptr;
        ++slot->Commands;
        updateActionState(*slot);
    }
}

void TMainForm::SetDocumentActionHandler(const char *name, std::function<void(TMDIChild &)> handler)
{
    if (TActionSlot *slot = actionSlot(name)) {
        slot->Handler = nullptr;
        slot->DocumentHandler = std::move(handler);
        ++slot->Commands;
        updateActionState(*slot);
    }
}

void TMainForm::runAction(std::size_t index)
{
    const TActionSlot &slot = m_actions.at(index);
    if (slot.Handler) {
        slot.Handler();
    } else if (slot.DocumentHandler) {
        // A document command never runs without a document, whatever state the action shows.
        if (TMDIChild *child = ActiveChild())
            slot.DocumentHandler(*child);
    }
}

void TMainForm::setActionAllowed(const char *name, bool allowed)
{
    if (TActionSlot *slot = actionSlot(name)) {
        slot->Allowed = allowed;
        updateActionState(*slot);
    }
}

void TMainForm::updateActionState(const TActionSlot &slot)
{
    if (slot.Info->Status == TActionStatus::Inert && !slot.Handler && !slot.DocumentHandler) {
        slot.Action->setEnabled(true);
        return;
    }
    if (slot.DocumentHandler)
        slot.Action->setEnabled(slot.Allowed && m_documentOpen);
    else
        slot.Action->setEnabled(slot.Allowed && slot.Handler && (!slot.NeedsDocument || m_documentOpen));
}

void TMainForm::SetActionNeedsDocument(const char *name, bool needsDocument)
{
    if (TActionSlot *slot = actionSlot(name)) {
        slot->NeedsDocument = needsDocument;
        updateActionState(*slot);
    }
}

TMainForm::TActionCommandInfo TMainForm::ActionCommand(std::string_view name) const
{
    for (const TActionSlot &slot : m_actions)
        if (name == slot.Info->Name)
            return { slot.Commands, slot.DocumentHandler != nullptr || slot.NeedsDocument };
    return {};
}

void TMainForm::UpdateActionStates()
{
    for (const TActionSlot &slot : m_actions)
        updateActionState(slot);
}

void TMainForm::applyActionTexts()
{
    for (const TMainMenuInfo &info : MainMenus())
        if (auto *menu = findChild<QMenu *>(QLatin1String(info.Name)))
            menu->setTitle(GetUiString(QStringLiteral("MainMenu"), QLatin1String(info.Key)));
    for (const TActionSlot &slot : m_actions) {
        // The language sub-menu took its title above; the two unused actions have no text.
        if (slot.Action->menu() || !slot.Info->Key)
            continue;
        SetActionUiText(slot.Action, QLatin1String(slot.Info->Section), QLatin1String(slot.Info->Key));
    }
}
