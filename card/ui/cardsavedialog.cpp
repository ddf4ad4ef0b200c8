#include "card/ui/cardsavedialog.h"

#include "card/cardwrite.h"
#include "core/ui/savedialogquestion.h"

#include <QDir>
#include <QFileDialog>
#include <QRegularExpression>

namespace {
// "EP Files (*.EP)" -> "EP".
QString FilterSuffix(const QString &nameFilter)
{
    static const QRegularExpression re(QStringLiteral("\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch m = re.match(nameFilter);
    return m.hasMatch() ? m.captured(1) : QString();
}
} // namespace

bool ChooseCardSaveFile(
    QWidget *parent, const QString &filter, const QString &folder, QString &fileName, int &filterIndex)
{
    const QStringList filters = CardDialogNameFilters(filter);
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("CardSaveDialog"));
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.setDefaultSuffix(QStringLiteral("EP"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &f) { dialog.setDefaultSuffix(FilterSuffix(f)); });
    dialog.selectFile(QStringLiteral("Untitled"));
    // The card is written under the name the dialog gives, default suffix and all.
    if (!ExecSaveDialog(
            dialog, [](const QString &chosen, const QString &) { return chosen; }, fileName))
        return false;
    filterIndex = CardFilterIndex(filters, dialog.selectedNameFilter());
    return true;
}
