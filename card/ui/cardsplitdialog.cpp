#include "card/ui/cardsplitdialog.h"
#include "core/settings/uitexts.h"

#include "card/cardsplit.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

TFrmSplit::TFrmSplit(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("FrmSplit"));
    setWindowTitle(GetUiString(UiKey::CardSplit::Caption));
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(GetUiString(UiKey::CardSplit::Disk_Size), this), 0, 0);
    ComboBoxSize = new QComboBox(this);
    ComboBoxSize->setObjectName(QStringLiteral("ComboBoxSize"));
    ComboBoxSize->addItems({ QStringLiteral("1,457,664"), QStringLiteral("1,228,800") });
    grid->addWidget(ComboBoxSize, 0, 1);
    FilenameEdit = new QLineEdit(this);
    FilenameEdit->setObjectName(QStringLiteral("FilenameEdit"));
    BtnBrowse = new QPushButton(QStringLiteral("..."), this);
    grid->addWidget(FilenameEdit, 1, 0, 1, 2);
    grid->addWidget(BtnBrowse, 1, 2);
    layout->addLayout(grid);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    BtnOK = new QPushButton(GetUiString(UiKey::General::BtnOK), this);
    BtnOK->setObjectName(QStringLiteral("BtnOK"));
    BtnCancel = new QPushButton(GetUiString(UiKey::General::BtnCancel), this);
    buttons->addWidget(BtnOK);
    buttons->addWidget(BtnCancel);
    layout->addLayout(buttons);
    connect(BtnOK, &QPushButton::clicked, this, &TFrmSplit::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TFrmSplit::reject);
    connect(BtnBrowse, &QPushButton::clicked, this, [this] {
        QFileDialog dialog(this);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({ QStringLiteral("JC5 Files(*.JC5)") });
        if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
            FilenameEdit->setText(dialog.selectedFiles().first());
    });
    ShowMessage = [this](const QString &text, const QString &caption, int kind) {
        QMessageBox box(
            kind == 2 ? QMessageBox::Critical : QMessageBox::Warning, caption, text, QMessageBox::Ok, this);
        box.exec();
    };
}

qint64 TFrmSplit::PieceSize() const
{
    return ComboBoxSize->currentIndex() == 1 ? SplitPieceSmall : SplitPieceFloppy;
}

void TFrmSplit::BtnOKClick()
{
    const QString fileName = FilenameEdit->text();
    if (!QFileInfo(fileName).isFile()) {
        ShowMessage(
            GetUiString(UiKey::CardSplit::File_Missing), GetUiString(UiKey::CardViewer::Open_Caption), 1);
        return;
    }
    QString error;
    if (!SplitJC5File(fileName, PieceSize(), nullptr, &error))
        ShowMessage(GetUiString(UiKey::CardSplit::Split_Error) + QLatin1Char('\n') + error,
            GetUiString(UiKey::CardSplit::Split_Caption), 2);
    accept();
}
