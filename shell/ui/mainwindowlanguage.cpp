// The main window's interface texts and the language switch.
#include "shell/ui/mainwindow.h"

#include "core/settings/settings.h"
#include "core/settings/uitexts.h"
#include "core/ui/uitextsetters.h"
#include "shell/ui/mainwindowcolors.h"
#include "shell/ui/mainwindowgeometry.h"
#include "shell/ui/mainwindowoutlines.h"
#include "shell/ui/mainwindowtiling.h"
#include "shell/ui/mainwindowweaves.h"
#include "shell/ui/palettebarpanel.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>

void TMainForm::ApplyLanguage()
{
    setWindowTitle(GetUiMessage(UiKey::String::ApplicationName));
    applyActionTexts();
    applyBrowseTexts();
    m_tiling->ApplyTexts();
    if (auto *colors = findChild<TMainWindowColors *>(QString(), Qt::FindDirectChildrenOnly))
        colors->ApplyTexts();
    if (auto *geometry = findChild<TMainWindowGeometry *>(QString(), Qt::FindDirectChildrenOnly))
        geometry->ApplyTexts();
    if (m_outlines)
        m_outlines->ApplyTexts();
    if (auto *weaves = findChild<TMainWindowWeaves *>(QString(), Qt::FindDirectChildrenOnly))
        weaves->ApplyTexts();
    if (TFramPalette *bar = PaletteBar())
        bar->ApplyLanguage();
    // The status bar's fields, the check on the language chosen, and the other windows open
    // now (the card viewer, the sample-card editor) follow at once.
    m_status.Retext();
    for (int i = 0; i < TMainStatusModel::PanelCount; ++i)
        if (m_panels[i])
            m_panels[i]->setText(m_status.Panels[i]);
    const int chosen = ReadLanguageIndex();
    for (const char *name :
        { "ActEnglish", "ActTraditional_Chinese", "ActSimplified_Chinese", "ActLocal_Language" })
        if (QAction *language = Action(name)) {
            language->setCheckable(true);
            language->setChecked(language->data().toInt() == chosen);
        }
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window != this) {
            QEvent change(QEvent::LanguageChange);
            QCoreApplication::sendEvent(window, &change);
        }
}

void TMainForm::SetLanguage(int index)
{
    WriteLanguageIndex(index);
    OpenLanguageFile();
    ApplyLanguage();
}
