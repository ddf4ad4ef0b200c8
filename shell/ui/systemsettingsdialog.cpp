#include "shell/ui/systemsettingsdialog.h"

#include "core/base/fileext.h"
#include "core/settings/uitexts.h"
#include "core/ui/helpkey.h"
#include "core/undo/undo.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
QString text(const TUiKey &key)
{
    return GetUiString(key);
}
} // namespace

TFrmSetSystem::TFrmSetSystem(QWidget *parent, std::function<void()> clearBackup, const TFileTypeRoots &roots)
    : QDialog(parent)
    , m_roots(roots)
    , m_clearBackup(std::move(clearBackup))
{
    setObjectName(QStringLiteral("FrmSetSystem"));
    setWindowTitle(text(UiKey::SystemSettings::Caption));
    const TSystemSettingValues values = ReadSystemSettings();
    auto *pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControl"));
    pages->addTab(systemPage(values), text(UiKey::SystemSettings::Page_System));
    pages->addTab(fileTypePage(), text(UiKey::SystemSettings::Page_FileTypes));

    m_autoOpenRecent = new QCheckBox(text(UiKey::SystemSettings::Auto_Open_Recent), this);
    m_autoOpenRecent->setObjectName(QStringLiteral("CbxAutoOpenRecentFile"));
    m_autoOpenRecent->setChecked(values.AutoOpenRecentFile);
    auto *clear = new QPushButton(text(UiKey::SystemSettings::Clear_Backup), this);
    clear->setObjectName(QStringLiteral("BtnClearUndoData"));
    clear->setEnabled(bool(m_clearBackup));
    clear->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, &TFrmSetSystem::clearBackupData);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("BtnOK"));
    buttons->button(QDialogButtonBox::Ok)->setText(text(UiKey::General::BtnOK));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("BtnCancel"));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(UiKey::General::BtnCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *foot = new QHBoxLayout;
    foot->addWidget(clear);
    foot->addStretch();
    foot->addWidget(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages);
    layout->addWidget(m_autoOpenRecent);
    layout->addLayout(foot);
    SetHelpKey(this, THelpContext::SystemSettings);
}

QSpinBox *TFrmSetSystem::addNumber(QGridLayout *grid, const char *name, const QString &label,
    const QString &unit, TSettingRange range, std::int32_t value)
{
    const int row = grid->rowCount();
    auto *caption = new QLabel(label);
    auto *box = new QSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setRange(range.Min, range.Max);
    box->setValue(value);
    caption->setBuddy(box);
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    grid->addWidget(new QLabel(unit), row, 2);
    return box;
}

QWidget *TFrmSetSystem::systemPage(const TSystemSettingValues &v)
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    using namespace UiKey::SystemSettings;
    m_maxUndoCount = addNumber(
        grid, "RdtMaxUndoCount", text(Max_Undo_Count), text(Unit_Times), MaxUndoCountRange, v.MaxUndoCount);
    m_maxBakDataSize = addNumber(grid, "RdtMaxBakUndoDataSize", text(Max_Backup_Size), text(Unit_MB),
        MaxBakDataSizeRange, v.MaxBakDataSize);
    // The backup held now, beside its limit.
    const int row = grid->rowCount() - 1;
    m_curBakDataSize = new QLineEdit(FormatBackupSize(UndoDataSizeMB()));
    m_curBakDataSize->setObjectName(QStringLiteral("EdtCurBakDataSize"));
    m_curBakDataSize->setReadOnly(true);
    grid->addWidget(new QLabel(text(Current_Backup)), row, 3);
    grid->addWidget(m_curBakDataSize, row, 4);
    grid->addWidget(new QLabel(text(Unit_MB)), row, 5);
    m_maxRecentFile = addNumber(
        grid, "RdtMaxRecentFileNum", text(Recent_File_Count), QString(), MaxRecentFileRange, v.MaxRecentFile);
    m_flashFrequence = addNumber(grid, "RdtFlashFrequence", text(Flash_Frequence), text(Unit_Ms),
        FlashFrequenceRange, v.FlashFrequence);
    m_flashTime
        = addNumber(grid, "RdtFlashTime", text(Flash_Time), text(Unit_S), FlashTimeRange, v.FlashTime);
    // Kept and written, but not offered: its label stays hidden, and so does the box.
    m_autoReduceColor = addNumber(grid, "RdtAutoReduceColorNum", text(Auto_Reduce_Color), text(Unit_Colors),
        AutoReduceColorCountRange, v.AutoReduceColorCount);
    for (int c = 0; c < 3; ++c)
        if (QLayoutItem *item = grid->itemAtPosition(grid->rowCount() - 1, c))
            item->widget()->hide();
    grid->setRowStretch(grid->rowCount(), 1);
    return page;
}

QWidget *TFrmSetSystem::fileTypePage()
{
    auto *page = new QWidget;
    m_list = new QTreeWidget(page);
    m_list->setObjectName(QStringLiteral("ListView"));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({ text(UiKey::SystemSettings::Column_Format),
        text(UiKey::SystemSettings::Column_Description), text(UiKey::SystemSettings::Column_Extension) });
    for (const QString &ext : AssociableFileTypes()) {
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, ext.mid(1));
        item->setText(1, FileTypeName(FileExtensionRow(ext)));
        item->setText(2, ext);
        const bool registered = IsFileTypeRegistered(ext, m_roots);
        item->setCheckState(0, registered ? Qt::Checked : Qt::Unchecked);
        m_registeredAtOpen.append(registered);
    }
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto *all = new QPushButton(text(UiKey::SystemSettings::Select_All), page);
    all->setObjectName(QStringLiteral("BtnSelectAll"));
    all->setAutoDefault(false);
    connect(all, &QPushButton::clicked, this, [this] { setAllRows(true); });
    auto *none = new QPushButton(text(UiKey::SystemSettings::Select_None), page);
    none->setObjectName(QStringLiteral("BtnSelectNone"));
    none->setAutoDefault(false);
    connect(none, &QPushButton::clicked, this, [this] { setAllRows(false); });
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(all);
    buttons->addWidget(none);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_list);
    layout->addLayout(buttons);
    return page;
}

QList<bool> TFrmSetSystem::checkedRows() const
{
    QList<bool> rows;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        rows.append(m_list->topLevelItem(i)->checkState(0) == Qt::Checked);
    return rows;
}

void TFrmSetSystem::setAllRows(bool checked)
{
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
}

TSystemSettingValues TFrmSetSystem::Values() const
{
    TSystemSettingValues v;
    v.MaxUndoCount = m_maxUndoCount->value();
    v.MaxBakDataSize = m_maxBakDataSize->value();
    v.MaxRecentFile = m_maxRecentFile->value();
    v.FlashFrequence = m_flashFrequence->value();
    v.FlashTime = m_flashTime->value();
    v.AutoReduceColorCount = m_autoReduceColor->value();
    v.AutoOpenRecentFile = m_autoOpenRecent->isChecked();
    return v;
}

void TFrmSetSystem::accept()
{
    QString error;
    const bool associated = ApplyFileTypeChanges(
        ChangedFileTypes(AssociableFileTypes(), m_registeredAtOpen, checkedRows()), m_roots, &error);
    // A failed association is reported; the settings are written all the same.
    WriteSystemSettings(Values());
    if (!associated)
        QMessageBox::warning(this, GetUiMessage(UiKey::String::ErrorCaption), error);
    QDialog::accept();
}

void TFrmSetSystem::clearBackupData()
{
    if (!m_clearBackup)
        return;
    const auto answer = QMessageBox::question(this, GetUiMessage(UiKey::String::ClearBackupCaption),
        GetUiMessage(UiKey::String::ClearBackupQuestion), QMessageBox::Yes | QMessageBox::No,
        QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    m_clearBackup();
    m_curBakDataSize->setText(FormatBackupSize(UndoDataSizeMB()));
}
