// The main window's interface texts and the language switch.
#include "shell/ui/mainwindow.h"

#include "core/settings/settings.h"
#include "core/settings/uitexts.h"
#include "core/ui/uitextsetters.h"
#include "shell/ui/mainwindowtiling.h"
#include "shell/ui/palettebarpanel.h"

#include <QAction>
#include <QMenu>

void TMainForm::ApplyLanguage()
{
    setWindowTitle(GetUiMessage(QStringLiteral("ApplicationName")));
    applyActionTexts();
    applyBrowseTexts();
    m_tiling->ApplyTexts();
    if (TFramPalette *bar = PaletteBar())
        bar->ApplyLanguage();
}

void TMainForm::SetLanguage(int index)
{
    WriteLanguageIndex(index);
    OpenLanguageFile();
    ApplyLanguage();
}
