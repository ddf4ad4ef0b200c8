#include "core/ui/helpkey.h"

#include "core/settings/uitexts.h"

#include <QMessageBox>
#include <QShortcut>
#include <QWidget>

void SetHelpKey(QWidget *window, THelpContext context)
{
    auto *key = new QShortcut(QKeySequence::HelpContents, window);
    key->setContext(Qt::WindowShortcut);
    QObject::connect(key, &QShortcut::activated, window, [window, context] {
        QString error;
        if (!ShowHelp(context, &error))
            QMessageBox::warning(window, GetUiMessage(UiKey::String::ErrorCaption), error);
    });
}
