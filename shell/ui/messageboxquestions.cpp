#include "shell/ui/messageboxquestions.h"

#include "core/settings/uitexts.h"
#include "core/ui/savedialogquestion.h"
#include "shell/savetypes.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

// A question asked from a dialog or a tool window belongs over that window: opened over
// the main window instead, the window manager may stack it under the dialog, which then
// seems to hang. So the modal dialog being answered, else the window in front when it is
// one of the main window's own, else the main window.
QWidget *TMessageBoxQuestions::owner() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    if (!m_parent)
        return nullptr;
    const QWidget *main = m_parent->window();
    for (QWidget *w = QApplication::activeWindow(); w; w = w->parentWidget())
        if (w->window() == main)
            return QApplication::activeWindow();
    return m_parent;
}

TSaveAnswer TMessageBoxQuestions::AskSaveChanges(const QString &text, const QString &caption)
{
    switch (QMessageBox::question(
        owner(), caption, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes)) {
    case QMessageBox::Yes:
        return TSaveAnswer::Yes;
    case QMessageBox::No:
        return TSaveAnswer::No;
    default:
        return TSaveAnswer::Cancel;
    }
}

bool TMessageBoxQuestions::AskOkCancel(const QString &text, const QString &caption)
{
    return QMessageBox::question(
               owner(), caption, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
        == QMessageBox::Ok;
}

bool TMessageBoxQuestions::ChooseSaveFile(
    const QString &folder, const QString &proposedName, TSaveFileType &type, QString &fileName)
{
    QFileDialog dialog(owner(), GetUiString(UiKey::MainMenu::Save_As), folder);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = SaveTypeFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(int(type) - 1));
    dialog.selectFile(proposedName);
    // The name shown follows the type the person picks.
    auto suffixOf = [](TSaveFileType t) { return SaveTypeExtension(t).mid(1); };
    dialog.setDefaultSuffix(suffixOf(type));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, suffixOf](const QString &filter) {
            dialog.setDefaultSuffix(suffixOf(SaveTypeOfFilter(filter)));
        });
    // The question and the save both take the file SaveTypeFileName gives.
    const TSaveFileNamer namer = [](const QString &chosen, const QString &filter) {
        return SaveTypeFileName(chosen, SaveTypeOfFilter(filter));
    };
    if (!ExecSaveDialog(dialog, namer, fileName))
        return false;
    type = SaveTypeOfFilter(dialog.selectedNameFilter());
    return true;
}

void TMessageBoxQuestions::ShowMessage(const QString &text, const QString &caption, TMessageKind kind)
{
    switch (kind) {
    case TMessageKind::Information:
        QMessageBox::information(owner(), caption, text);
        break;
    case TMessageKind::Warning:
        QMessageBox::warning(owner(), caption, text);
        break;
    case TMessageKind::Error:
        QMessageBox::critical(owner(), caption, text);
        break;
    }
}
