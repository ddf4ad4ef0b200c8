#include "card/ui/cardsavedialog.h"

#include "card/cardwrite.h"

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
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    dialog.setDefaultSuffix(QStringLiteral("EP"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &f) { dialog.setDefaultSuffix(FilterSuffix(f)); });
    dialog.selectFile(QStringLiteral("Untitled"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first();
    filterIndex = CardFilterIndex(filters, dialog.selectedNameFilter());
    return true;
}
